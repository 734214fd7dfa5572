#pragma once
// 184 "待機設定": the waiting time in seconds, in half-second steps.

#include "flowchart_ui/dialogs/template_dialog.h"

namespace pendra2::flowchart_ui {

class WaitDialog : public TemplateDialog {
  Q_OBJECT

 public:
  explicit WaitDialog(QWidget* parent);
};

}  // namespace pendra2::flowchart_ui
