#pragma once
// The simulation panel ("シミュレーション") beside the flowchart: the run, pause, one-step and
// stop buttons, the speed list, and the board as the program sees it (its lamps, variables A
// and B, the note, the step being run and its listing text) with the three inputs as
// sliders that the running program reads live. It shows what the simulation says; it
// refreshes at most every few dozen milliseconds, and only what changed.

#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "board_sim/paced_run.h"
#include "flowchart/stepcraft_state.h"

class QComboBox;
class QLabel;
class QSlider;
class QToolButton;

namespace pendra2::ui {
class BoardLamps;
class InputSliders;
class MusicBox;
}  // namespace pendra2::ui

namespace pendra2::flowchart_ui {

class Simulation;

class SimulationPanel : public QWidget {
  Q_OBJECT
 public:
  // `command` carries out a button's command as the menu does.
  SimulationPanel(const flowchart::StepcraftState& state, Simulation& simulation,
                  std::function<void(int)> command, QWidget* parent = nullptr);

  // Shows what the simulation says now (call after it changed; cheap when nothing did).
  void Refresh();
  // Says why there is no sound.
  void ShowSoundMessage(const QString& why);

  QToolButton* button(int command) const;
  // The input slider with id 33021..33023, or null.
  QSlider* slider(int id) const;
  QComboBox* speedList() const { return speed_; }
  QSize sizeHint() const override;

 private:
  struct Shown {
    board_sim::RunState phase = board_sim::RunState::Stopped;
    std::string status;
    int step = -1;
    board_sim::Outputs outputs;
    int16_t a = 0, b = 0;
    uint8_t note = board_sim::kSilence;
    bool operator==(const Shown&) const = default;
  };
  Shown Now() const;

  const flowchart::StepcraftState& state_;
  Simulation& simulation_;
  std::optional<Shown> shown_;
  std::map<int, QToolButton*> buttons_;
  QComboBox* speed_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* step_ = nullptr;
  QLabel* variables_ = nullptr;
  QLabel* note_ = nullptr;
  QLabel* message_ = nullptr;
  ui::BoardLamps* lamps_ = nullptr;
  ui::InputSliders* inputs_ = nullptr;
};

}  // namespace pendra2::flowchart_ui
