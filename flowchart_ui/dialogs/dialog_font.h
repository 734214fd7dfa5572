#pragma once
// The face and size of Stepcraft's dialogs and controls: the suite's gothic at the
// platform's usual dialog size.

#include <QFont>

namespace pendra2::flowchart_ui {

QFont DialogFont();

}  // namespace pendra2::flowchart_ui
