#include "flowchart_ui/dialogs/wait_dialog.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace pendra2::flowchart_ui {

WaitDialog::WaitDialog(QWidget* parent) : TemplateDialog(184, "待機設定", parent) {
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  row->addWidget(NewLabel("待機秒数", this));
  row->addWidget(NewEdit(3001, this, 8));
  row->addWidget(NewLabel("(0.5秒単位)", this));
  layout->addLayout(row);
  layout->addSpacing(8);
  layout->addLayout(NewButtonRow());
  layout->setSizeConstraint(QLayout::SetFixedSize);
  SetFirstField(Edit(3001));
}

}  // namespace pendra2::flowchart_ui
