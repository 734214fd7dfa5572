#pragma once
// The board's outputs as lamps: LED, 出力1, 出力2 and the four extended bits. The virtual
// board's window and Stepcraft's simulation show a board with these same lamps.

#include <QColor>
#include <QGroupBox>
#include <array>

#include "board_sim/board_sim.h"

namespace pendra2::ui {

// A round lamp that is lit or dark.
class Lamp : public QWidget {
 public:
  Lamp(QColor colour, QWidget* parent, int size = 22);
  void SetLit(bool lit);
  bool lit() const { return lit_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_;
  bool lit_ = false;
};

class BoardLamps : public QGroupBox {
 public:
  // `narrow`: the extended bits on a row of their own, for a panel beside other windows.
  explicit BoardLamps(QWidget* parent, bool narrow = false);
  void Show(const board_sim::Outputs& outputs);
  // 0 LED, 1 出力1, 2 出力2, 3..6 Bit4..Bit7.
  const Lamp* lamp(int index) const { return lamps_[static_cast<std::size_t>(index)]; }

 private:
  std::array<Lamp*, 7> lamps_{};
};

}  // namespace pendra2::ui
