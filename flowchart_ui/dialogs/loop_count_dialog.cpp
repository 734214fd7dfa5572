#include "flowchart_ui/dialogs/loop_count_dialog.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace pendra2::flowchart_ui {

LoopCountDialog::LoopCountDialog(QWidget* parent) : TemplateDialog(186, "ループ回数指定", parent) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(NewLabel("何回ループしますか？", this));
  layout->addWidget(NewEdit(3001, this, 8), 0, Qt::AlignLeft);
  layout->addWidget(NewLabel("最大255まで指定できます。", this));
  layout->addSpacing(8);
  layout->addLayout(NewButtonRow());
  layout->setSizeConstraint(QLayout::SetFixedSize);
  SetFirstField(Edit(3001));
}

}  // namespace pendra2::flowchart_ui
