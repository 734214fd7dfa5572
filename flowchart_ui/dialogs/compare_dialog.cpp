#include "flowchart_ui/dialogs/compare_dialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "flowchart_ui/dialogs/reading_text.h"

namespace pendra2::flowchart_ui {

CompareDialog::CompareDialog(BoardReader* board, QWidget* parent)
    : LiveReadingDialog(215, "分岐設定", board, parent) {
  auto* layout = new QVBoxLayout(this);

  auto* fields = new QGridLayout;
  fields->addWidget(NewLabel("しきい値", this), 0, 0);
  fields->addWidget(NewEdit(3001, this, 8), 0, 1);
  fields->addWidget(NewLabel("分岐先行", this), 1, 0);
  fields->addWidget(NewEdit(1045, this, 8), 1, 1);
  fields->setColumnStretch(2, 1);
  layout->addLayout(fields);

  QGroupBox* opBox = NewGroup("", this);
  auto* opLayout = new QHBoxLayout(opBox);
  auto* radios = new QVBoxLayout;
  radios->addWidget(NewRadio(1006, "入力1=入力2", opBox, comparison_));
  radios->addWidget(NewRadio(1008, "入力1>入力2", opBox, comparison_));
  radios->addWidget(NewRadio(1007, "入力1<入力2", opBox, comparison_));
  opLayout->addLayout(radios);
  opLayout->addWidget(NewLabel("で分岐", opBox), 0, Qt::AlignVCenter);
  opLayout->addStretch(1);
  layout->addWidget(opBox);

  QGroupBox* sensorBox = NewGroup("", this);
  auto* sensorLayout = new QGridLayout(sensorBox);
  QPushButton* toggle = NewButton(1010, flowchart::kSensorButtonCaption.data(), sensorBox);
  sensorLayout->addWidget(toggle, 0, 0, 2, 1, Qt::AlignVCenter);
  sensorLayout->addWidget(NewLabel("AD1", sensorBox), 0, 1);
  input1_ = NewValueBox(1012, ReadingText(0), sensorBox, 7);
  input1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  sensorLayout->addWidget(input1_, 0, 2);
  sensorLayout->addWidget(NewLabel("AD2", sensorBox), 1, 1);
  input2_ = NewValueBox(1013, ReadingText(0), sensorBox, 7);
  input2_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  sensorLayout->addWidget(input2_, 1, 2);
  AttachReading(toggle, *sensorLayout, 2);
  layout->addWidget(sensorBox);

  layout->addSpacing(4);
  layout->addLayout(NewButtonRow());
  layout->setSizeConstraint(QLayout::SetFixedSize);
  SetFirstField(Edit(3001));
}

void CompareDialog::ReadOnce(RoundDone done) {
  board_->ReadInputs(this, {1, 2}, [this, done](const std::vector<InputReading>& readings) {
    const RoundResult first = ShowReading(readings[0], *input1_);
    // After a reply wait ran out, the second input was not asked.
    if (first == RoundResult::kNoAnswer) return done(first);
    const RoundResult second = ShowReading(readings[1], *input2_);
    done(first == RoundResult::kRead ? second : first);
  });
}

}  // namespace pendra2::flowchart_ui
