#pragma once
// Stepcraft runs the program itself, with or without a board: the image the editor has just
// compiled, on the board's own interpreter, at the board's pace, slowed down for watching or
// one step at a time, pausing before marked steps. It lights the step being run (through the
// state's runningStep), sounds the notes on the PC and, in a replayed session, writes each
// step it runs into the transcript.

#include <QObject>
#include <array>
#include <functional>
#include <string>

#include "board_sim/paced_run.h"
#include "flowchart/step_addresses.h"
#include "flowchart/stepcraft_state.h"
#include "interaction/prompter.h"
#include "ui_common/sim_runner.h"

namespace pendra2::ui {
class MusicBox;
}

namespace pendra2::flowchart_ui {

// The speed list's entries, by index.
enum class SimSpeed { Board = 0, Watch = 1, StepByStep = 2 };
inline constexpr const char* kSimSpeedEntries[] = {"ふつう（ボードの速さ）",
                                                   "ゆっくり（1ステップ0.5秒）", "1ステップずつ"};

class Simulation : public QObject {
  Q_OBJECT
 public:
  // `sound` may be null: the simulation is silent.
  Simulation(flowchart::StepcraftState& state, interaction::Prompter& prompter, ui::MusicBox* sound,
             QObject* parent = nullptr);

  // Where `sim step N`, `sim pause` and `sim stop REASON` go (a replayed session's
  // transcript); unset, they go nowhere.
  void SetTranscript(std::function<void(const std::string&)> print) {
    transcript_ = std::move(print);
  }

  // 33010 run or go on, 33011 pause, 33012 one step, 33013 stop; false for other ids.
  bool Command(int id);
  void SetInput(int index, uint16_t value);
  uint16_t input(int index) const { return inputs_[static_cast<std::size_t>(index)]; }
  void SetSpeed(SimSpeed speed);
  SimSpeed speed() const { return speed_; }

  // The program is about to change (an edit, a new or loaded program) or the window
  // closes: whatever runs stops first, with `reason` in the transcript.
  void StopFor(const char* reason);
  // The breakpoints changed: a running simulation pauses at the new ones.
  void BreakpointsChanged();

  board_sim::RunState phase() const { return runner_.run().state(); }
  const board_sim::BoardSim& board() const { return runner_.sim(); }
  // What the panel says about the run: running, paused (and where), or why it stopped.
  std::string StatusText() const;

 signals:
  // Something ran, or the run started, paused or stopped.
  void changed();

 private:
  // The editor's image, compiled now; false (after telling the user) when it cannot run.
  bool Prepare();
  void Ran(const board_sim::Executed& e);
  // One step as the child sees it: up to the next instruction or column a step owns.
  void StepCounted();
  void Print(const std::string& line) const;
  void Stopped(const char* reason);
  void ShowLitStep();
  int OwnerOf(int address) const;

  flowchart::StepcraftState& state_;
  interaction::Prompter& prompter_;
  ui::MusicBox* sound_;
  std::function<void(const std::string&)> transcript_;
  ui::SimRunner runner_;
  flowchart::StepAddresses map_;
  std::array<uint16_t, 3> inputs_{};
  SimSpeed speed_ = SimSpeed::Board;
  bool ranCounted_ = false;
  // Why the run last ended, when it was not the program's own doing ("stopped", "edited").
  std::string endedBy_;
  bool everRun_ = false;
};

}  // namespace pendra2::flowchart_ui
