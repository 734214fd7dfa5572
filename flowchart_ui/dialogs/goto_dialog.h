#pragma once
// 214 "goto設定": the step a goto jumps to.

#include "flowchart_ui/dialogs/template_dialog.h"

namespace pendra2::flowchart_ui {

class GotoDialog : public TemplateDialog {
  Q_OBJECT

 public:
  explicit GotoDialog(QWidget* parent);
};

}  // namespace pendra2::flowchart_ui
