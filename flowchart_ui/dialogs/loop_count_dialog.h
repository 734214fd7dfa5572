#pragma once
// 186 "ループ回数指定": how often a loop runs.

#include "flowchart_ui/dialogs/template_dialog.h"

namespace pendra2::flowchart_ui {

class LoopCountDialog : public TemplateDialog {
  Q_OBJECT

 public:
  explicit LoopCountDialog(QWidget* parent);
};

}  // namespace pendra2::flowchart_ui
