#pragma once
// The interpreter against the PC's clock: at the board's own speed, slower, or one step at a
// time, with pauses and addresses to pause before. The caller reads the clock and calls Run
// when NextWake says; nothing here sleeps, so a window, a test or a benchmark can drive it.
// All times are microseconds of the caller's clock ("real"), except the interpreter's own.

#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "board_sim/board_sim.h"

namespace pendra2::board_sim {

enum class Pace : uint8_t {
  Board,     // the board's own timing
  Quarter,   // a quarter of it
  Watch,     // no faster than one step each kWatchStepMicros; waits and notes keep their length
  Stepwise,  // nothing runs by itself
};
inline constexpr Micros kWatchStepMicros = 500'000;

enum class RunState : uint8_t { Stopped, Running, Paused };

class PacedRun {
 public:
  using Did = std::function<void(const Executed&)>;

  // Replaces the image; a running program stops.
  void Load(std::span<const uint8_t, kImageBytes> image);
  // From address 0; `paused` starts it waiting before the first step.
  void Start(Micros realNow, bool paused = false);
  void Stop();
  void Pause(Micros realNow);
  // Goes on from a pause, also past the breakpoint it stopped at.
  void Resume(Micros realNow);
  // Runs the next instruction or tune column at once, however far ahead it lies, breakpoint
  // or not; a stopped board starts first and waits paused after it. Nothing when the board
  // is not running afterwards.
  std::optional<Executed> StepOnce(Micros realNow, const Did& did);
  void SetPace(Pace pace, Micros realNow);
  void SetInput(int index, uint16_t value) { sim_.SetInput(index, value); }

  // Everything that has come due by realNow, in order, each handed to `did` with the board
  // as it is just after it. Ends at a breakpoint (the run pauses) or when the board stops.
  void Run(Micros realNow, const Did& did);
  // When Run has something to do next; nothing when nothing comes by itself (stopped,
  // paused, stepwise).
  std::optional<Micros> NextWake() const;

  // Addresses to pause before: the run stops there before the instruction runs.
  void SetBreakpoints(const std::bitset<kImageBytes>& at) { breakpoints_ = at; }

  RunState state() const { return state_; }
  bool atBreakpoint() const { return state_ == RunState::Paused && atBreakpoint_; }
  Pace pace() const { return pace_; }
  const BoardSim& sim() const { return sim_; }

 private:
  // The real time the next instruction or column comes due.
  Micros DueReal() const;
  // Simulated time reached by `realNow`, never past what is due.
  Micros SimAt(Micros realNow) const;
  void Ran(const Executed& e, Micros at, const Did& did);

  BoardSim sim_;
  RunState state_ = RunState::Stopped;
  Pace pace_ = Pace::Board;
  // Simulated time lastSim_ was reached at real time lastReal_.
  Micros lastReal_ = 0;
  Micros lastSim_ = 0;
  // Watch pace: nothing runs before this.
  Micros holdUntil_ = 0;
  Micros pausedAt_ = 0;
  bool atBreakpoint_ = false;
  // The breakpoint at the current address was paused at and is passed once.
  bool passBreakpoint_ = false;
  std::bitset<kImageBytes> breakpoints_;
};

}  // namespace pendra2::board_sim
