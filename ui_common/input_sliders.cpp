#include "ui_common/input_sliders.h"

#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include "board_sim/behaviour.h"

namespace pendra2::ui {

InputSliders::InputSliders(QWidget* parent) : QGroupBox(QStringLiteral("入力"), parent) {
  auto* grid = new QGridLayout(this);
  for (int i = 0; i < 3; ++i) {
    const auto k = static_cast<std::size_t>(i);
    sliders_[k] = new QSlider(Qt::Horizontal, this);
    sliders_[k]->setRange(0, board_sim::behaviour::kInputMax);
    sliders_[k]->setPageStep(64);
    readings_[k] = new QLabel(QStringLiteral("0"), this);
    readings_[k]->setMinimumWidth(36);
    readings_[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(sliders_[k], &QSlider::valueChanged, this, [this, i, k](int value) {
      readings_[k]->setText(QString::number(value));
      emit moved(i, board_sim::behaviour::ClampInput(value));
    });
    grid->addWidget(new QLabel(QStringLiteral("入力%1").arg(i + 1), this), i, 0);
    grid->addWidget(sliders_[k], i, 1);
    grid->addWidget(readings_[k], i, 2);
  }
}

void InputSliders::Show(int index, uint16_t value) {
  const auto k = static_cast<std::size_t>(index);
  if (sliders_[k]->value() == value) return;
  const QSignalBlocker quiet(sliders_[k]);
  sliders_[k]->setValue(value);
  readings_[k]->setText(QString::number(value));
}

void InputSliders::NameSliders(int firstId) {
  for (int i = 0; i < 3; ++i) {
    sliders_[static_cast<std::size_t>(i)]->setObjectName(QString::number(firstId + i));
  }
}

}  // namespace pendra2::ui
