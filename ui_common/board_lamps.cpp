#include "ui_common/board_lamps.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace pendra2::ui {

Lamp::Lamp(QColor colour, QWidget* parent, int size) : QWidget(parent), colour_(colour) {
  setFixedSize(size, size);
}

void Lamp::SetLit(bool lit) {
  if (lit == lit_) return;
  lit_ = lit;
  update();
}

void Lamp::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(70, 70, 70), 1.5));
  p.setBrush(lit_ ? colour_ : QColor(85, 85, 85));
  p.drawEllipse(QRectF(2, 2, width() - 4, height() - 4));
}

namespace {

QWidget* Labelled(Lamp* lamp, const QString& text, QWidget* parent, int gap) {
  auto* box = new QWidget(parent);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, gap, 0);
  row->setSpacing(gap / 2);
  row->addWidget(lamp);
  row->addWidget(new QLabel(text, box));
  row->addStretch();
  return box;
}

}  // namespace

BoardLamps::BoardLamps(QWidget* parent, bool narrow) : QGroupBox(QStringLiteral("出力"), parent) {
  auto* grid = new QGridLayout(this);
  const QColor red(235, 50, 40), green(60, 200, 80), amber(245, 170, 30);
  const int size = narrow ? 18 : 22;
  const int gap = narrow ? 4 : 8;
  lamps_[0] = new Lamp(red, this, size);
  lamps_[1] = new Lamp(green, this, size);
  lamps_[2] = new Lamp(green, this, size);
  grid->addWidget(Labelled(lamps_[0], QStringLiteral("LED"), this, gap), 0, 0);
  grid->addWidget(Labelled(lamps_[1], QStringLiteral("出力1"), this, gap), 0, 1);
  grid->addWidget(
      Labelled(lamps_[2], narrow ? QStringLiteral("出力2") : QStringLiteral("出力2(モータ)"), this,
               gap),
      0, 2);
  grid->addWidget(new QLabel(QStringLiteral("拡張出力"), this), 1, 0, 1, narrow ? 3 : 1);
  auto* bits = new QHBoxLayout;
  for (int i = 0; i < 4; ++i) {
    lamps_[static_cast<std::size_t>(3 + i)] = new Lamp(amber, this, size);
    bits->addWidget(Labelled(lamps_[static_cast<std::size_t>(3 + i)],
                             QStringLiteral("Bit%1").arg(i + 4), this, gap));
  }
  if (narrow) {
    grid->addLayout(bits, 2, 0, 1, 3);
  } else {
    grid->addLayout(bits, 1, 1, 1, 3);
  }
}

void BoardLamps::Show(const board_sim::Outputs& outputs) {
  lamps_[0]->SetLit(outputs.led);
  lamps_[1]->SetLit(outputs.out1);
  lamps_[2]->SetLit(outputs.out2);
  for (int i = 0; i < 4; ++i)
    lamps_[static_cast<std::size_t>(3 + i)]->SetLit((outputs.ext >> i) & 1);
}

}  // namespace pendra2::ui
