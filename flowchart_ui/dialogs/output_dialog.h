#pragma once
// 208 "出力設定": which output (board LED, output 1, output 2) goes on or off.

#include "flowchart_ui/dialogs/template_dialog.h"

namespace pendra2::flowchart_ui {

class OutputDialog : public TemplateDialog {
  Q_OBJECT

 public:
  explicit OutputDialog(QWidget* parent);

  RadioGroup& port() { return port_; }
  RadioGroup& state() { return state_; }

 private:
  RadioGroup port_{this};
  RadioGroup state_{this};
};

}  // namespace pendra2::flowchart_ui
