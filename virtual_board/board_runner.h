#pragma once
// Runs the written image on the board's interpreter in real time (or slower, or step by
// step), feeds it the inputs as they are set, sounds its notes and writes the trace.

#include <QObject>
#include <fstream>
#include <optional>
#include <string>

#include "board_sim/board_sim.h"
#include "ui_common/sim_runner.h"
#include "virtual_board/board_model.h"

namespace pendra2::ui {
class MusicBox;
}

namespace pendra2::virtual_board {

enum class Speed { Normal, Quarter, Stepwise };

class BoardRunner : public QObject {
  Q_OBJECT
 public:
  BoardRunner(BoardModel& model, ui::MusicBox& sound, QObject* parent = nullptr);

  // False with the reason when the trace file cannot be opened.
  bool OpenTrace(const std::string& path, std::string& error);

  // What the last request asked for (Run, Stop, a written image, a note).
  void Handle(BoardModel::Event event);
  // The window's own buttons.
  void Run();
  void Stop();

  void SetSpeed(Speed speed);
  Speed speed() const { return speed_; }
  // One instruction or tune column, in step-by-step mode.
  void StepOnce();

  const board_sim::BoardSim& sim() const { return runner_.sim(); }
  // The last instruction run, if any since the start.
  const std::optional<board_sim::Executed>& last() const { return last_; }

 signals:
  void changed();

 private:
  void Did(const board_sim::Executed& e);
  void Ended();

  BoardModel& model_;
  ui::MusicBox& sound_;
  ui::SimRunner runner_;
  Speed speed_ = Speed::Normal;
  std::optional<board_sim::Executed> last_;
  std::ofstream trace_;
};

}  // namespace pendra2::virtual_board
