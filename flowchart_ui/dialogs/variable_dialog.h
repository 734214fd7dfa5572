#pragma once
// 231 "変数Aの設定" and 233 "変数Bの設定": one operation on a variable, with a value.

#include "flowchart_ui/dialogs/template_dialog.h"

namespace pendra2::flowchart_ui {

enum class Variable { A, B };

class VariableDialog : public TemplateDialog {
  Q_OBJECT

 public:
  VariableDialog(Variable variable, QWidget* parent);

  // The operation buttons 1048..1060.
  RadioGroup& operation() { return operation_; }

 private:
  RadioGroup operation_{this};
};

}  // namespace pendra2::flowchart_ui
