#pragma once
// The board's three inputs as sliders 0..1023 with their readings, for the virtual board's
// window and Stepcraft's simulation: what the user sets is what the running program reads.

#include <QGroupBox>
#include <array>
#include <cstdint>

class QLabel;
class QSlider;

namespace pendra2::ui {

class InputSliders : public QGroupBox {
  Q_OBJECT
 public:
  explicit InputSliders(QWidget* parent);

  // Shows `value` on slider `index` without telling anyone (a value set from elsewhere).
  void Show(int index, uint16_t value);
  // Names the sliders firstId, firstId + 1, firstId + 2, for the replay and tests.
  void NameSliders(int firstId);
  QSlider* slider(int index) const { return sliders_[static_cast<std::size_t>(index)]; }

 signals:
  // The user moved slider `index` (0..2) to `value`.
  void moved(int index, uint16_t value);

 private:
  std::array<QSlider*, 3> sliders_{};
  std::array<QLabel*, 3> readings_{};
};

}  // namespace pendra2::ui
