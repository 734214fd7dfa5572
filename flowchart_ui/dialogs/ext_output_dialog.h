#pragma once
// 216 "出力設定": bits 4 to 7 of the output port, one check box each.

#include "flowchart_ui/dialogs/template_dialog.h"

class QCheckBox;

namespace pendra2::flowchart_ui {

class ExtOutputDialog : public TemplateDialog {
  Q_OBJECT

 public:
  explicit ExtOutputDialog(QWidget* parent);
  // Boxes 1059..1062 for bits 4..7 (channel bits 0..3).
  QCheckBox* Bit(int index) const { return bits_[index]; }

 private:
  QCheckBox* bits_[4] = {};
};

}  // namespace pendra2::flowchart_ui
