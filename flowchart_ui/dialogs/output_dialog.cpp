#include "flowchart_ui/dialogs/output_dialog.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QRadioButton>

namespace pendra2::flowchart_ui {

OutputDialog::OutputDialog(QWidget* parent) : TemplateDialog(208, "出力設定", parent) {
  auto* layout = new QVBoxLayout(this);
  auto* groups = new QHBoxLayout;
  QGroupBox* portBox = NewGroup("ポート指定", this);
  auto* portLayout = new QVBoxLayout(portBox);
  portLayout->addWidget(NewRadio(1036, "基板LED", portBox, port_));
  portLayout->addWidget(NewRadio(1042, "出力1", portBox, port_));
  portLayout->addWidget(NewRadio(1045, "出力2(モータ)", portBox, port_));
  groups->addWidget(portBox);
  QGroupBox* stateBox = NewGroup("状態設定", this);
  auto* stateLayout = new QVBoxLayout(stateBox);
  stateLayout->addWidget(NewRadio(1043, "ONにする", stateBox, state_));
  stateLayout->addWidget(NewRadio(1044, "OFFにする", stateBox, state_));
  stateLayout->addStretch(1);
  groups->addWidget(stateBox);
  layout->addLayout(groups);
  layout->addSpacing(4);
  layout->addLayout(NewButtonRow());
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace pendra2::flowchart_ui
