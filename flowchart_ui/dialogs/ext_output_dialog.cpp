#include "flowchart_ui/dialogs/ext_output_dialog.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>

namespace pendra2::flowchart_ui {

ExtOutputDialog::ExtOutputDialog(QWidget* parent) : TemplateDialog(216, "出力設定", parent) {
  static constexpr const char* kTexts[] = {"Bit4をONにする", "Bit5をONにする", "Bit6をONにする",
                                           "Bit7をONにする"};
  auto* layout = new QVBoxLayout(this);
  QGroupBox* box = NewGroup("", this);
  auto* boxLayout = new QVBoxLayout(box);
  for (int i = 0; i < 4; ++i) {
    bits_[i] = NewCheck(1059 + i, kTexts[i], box);
    boxLayout->addWidget(bits_[i]);
  }
  layout->addWidget(box);
  layout->addSpacing(4);
  layout->addLayout(NewButtonRow());
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace pendra2::flowchart_ui
