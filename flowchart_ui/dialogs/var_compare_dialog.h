#pragma once
// 232 "変数条件ジャンプ": jump when a variable compares so with a value or the other variable.

#include "flowchart_ui/dialogs/template_dialog.h"

namespace pendra2::flowchart_ui {

class VarCompareDialog : public TemplateDialog {
  Q_OBJECT

 public:
  explicit VarCompareDialog(QWidget* parent);

  // The comparison buttons 1048..1056.
  RadioGroup& comparison() { return comparison_; }

 private:
  RadioGroup comparison_{this};
};

}  // namespace pendra2::flowchart_ui
