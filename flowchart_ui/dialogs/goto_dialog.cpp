#include "flowchart_ui/dialogs/goto_dialog.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace pendra2::flowchart_ui {

GotoDialog::GotoDialog(QWidget* parent) : TemplateDialog(214, "goto設定", parent) {
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  row->addWidget(NewLabel("分岐先", this));
  row->addWidget(NewEdit(1045, this, 8));
  row->addStretch(1);
  layout->addLayout(row);
  layout->addSpacing(8);
  layout->addLayout(NewButtonRow());
  layout->setSizeConstraint(QLayout::SetFixedSize);
  SetFirstField(Edit(1045));
}

}  // namespace pendra2::flowchart_ui
