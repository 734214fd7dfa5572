#include "flowchart_ui/dialogs/branch_dialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "flowchart_ui/dialogs/reading_text.h"

namespace pendra2::flowchart_ui {

BranchDialog::BranchDialog(BoardReader* board, QWidget* parent)
    : LiveReadingDialog(207, "分岐設定", board, parent) {
  auto* layout = new QVBoxLayout(this);

  auto* thresholdRow = new QHBoxLayout;
  thresholdRow->addWidget(NewLabel("しきい値", this));
  thresholdRow->addWidget(NewEdit(3001, this, 8));
  thresholdRow->addSpacing(8);
  thresholdRow->addWidget(NewRadio(1003, "以上", this, comparison_));
  thresholdRow->addWidget(NewRadio(1004, "未満", this, comparison_));
  thresholdRow->addWidget(NewLabel("で分岐", this));
  thresholdRow->addStretch(1);
  layout->addLayout(thresholdRow);

  QGroupBox* inputBox = NewGroup("", this);
  auto* inputLayout = new QHBoxLayout(inputBox);
  inputLayout->addWidget(NewRadio(1101, "入力1", inputBox, input_));
  inputLayout->addWidget(NewRadio(1102, "入力2", inputBox, input_));
  inputLayout->addWidget(NewRadio(1103, "入力3", inputBox, input_));
  layout->addWidget(inputBox);

  auto* targetRow = new QHBoxLayout;
  targetRow->addWidget(NewLabel("分岐先行", this));
  targetRow->addWidget(NewEdit(1045, this, 8));
  targetRow->addStretch(1);
  layout->addLayout(targetRow);

  QGroupBox* sensorBox = NewGroup("", this);
  auto* sensorLayout = new QGridLayout(sensorBox);
  QPushButton* toggle = NewButton(1010, flowchart::kSensorButtonCaption.data(), sensorBox);
  shown_ = NewValueBox(1011, ReadingText(0), sensorBox, 7);
  shown_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QPushButton* take = NewButton(1055, "値の取込", sensorBox);
  sensorLayout->addWidget(toggle, 0, 0);
  sensorLayout->addWidget(shown_, 0, 1);
  sensorLayout->addWidget(take, 0, 2);
  AttachReading(toggle, *sensorLayout, 1);
  layout->addWidget(sensorBox);
  connect(take, &QPushButton::clicked, this, [this] { Edit(3001)->setText(shown_->text()); });

  layout->addSpacing(4);
  layout->addLayout(NewButtonRow());
  layout->setSizeConstraint(QLayout::SetFixedSize);
  SetFirstField(Edit(3001));
}

void BranchDialog::ReadOnce(RoundDone done) {
  // The input checked now: switching the input while reading takes effect at this tick.
  board_->ReadInputs(this, {flowchart::BranchReadingInput(input_.Checked())},
                     [this, done](const std::vector<InputReading>& readings) {
                       done(ShowReading(readings.front(), *shown_));
                     });
}

}  // namespace pendra2::flowchart_ui
