#pragma once
// The board's interpreter on the PC's clock, driven by a Qt timer. The virtual board and
// Stepcraft's own simulation run programs through this one runner: the timer wakes when the
// next step is due (in batches, never more often than every 20 ms), the inputs are read
// before each batch, and each step is handed on as it runs.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <array>
#include <functional>

#include "board_sim/paced_run.h"

namespace pendra2::ui {

class SimRunner : public QObject {
  Q_OBJECT
 public:
  explicit SimRunner(QObject* parent = nullptr);

  // Called for each instruction or tune column as it runs, with the board just after it.
  void SetOnRan(board_sim::PacedRun::Did did) { onRan_ = std::move(did); }
  // The inputs as they are now; read before each batch of steps.
  void SetInputSource(std::function<std::array<uint16_t, 3>()> inputs) {
    inputs_ = std::move(inputs);
  }
  void SetBreakpoints(const std::bitset<board_sim::kImageBytes>& at) { run_.SetBreakpoints(at); }

  void Load(std::span<const uint8_t, board_sim::kImageBytes> image);
  void Start(bool paused = false);
  void Stop();
  void Pause();
  void Resume();
  // One instruction or tune column at once; from stopped it starts and waits after it.
  void StepOnce();
  void SetPace(board_sim::Pace pace);

  const board_sim::PacedRun& run() const { return run_; }
  const board_sim::BoardSim& sim() const { return run_.sim(); }

 signals:
  // Something ran, or the run started, paused, went on or stopped.
  void changed();
  // The program stopped by itself: its end, or a fault the interpreter found.
  void ended();
  // The run paused before a breakpoint.
  void pausedAtBreakpoint();

 private:
  board_sim::Micros Now() const;
  void FeedInputs();
  void Tick();
  void Schedule();
  void After(board_sim::RunState before);

  board_sim::PacedRun run_;
  board_sim::PacedRun::Did onRan_;
  std::function<std::array<uint16_t, 3>()> inputs_;
  QElapsedTimer clock_;
  QTimer timer_;
};

}  // namespace pendra2::ui
