#include "board_sim/paced_run.h"

#include <algorithm>

namespace pendra2::board_sim {
namespace {

// When the PC could not keep up (a suspended laptop, a debugger), the board goes on from
// now instead of racing through what it missed.
constexpr Micros kMaxLagUs = 1'000'000;

Micros Factor(Pace pace) {
  return pace == Pace::Quarter ? 4 : 1;
}

}  // namespace

void PacedRun::Load(std::span<const uint8_t, kImageBytes> image) {
  sim_.Load(image);
  state_ = RunState::Stopped;
  atBreakpoint_ = false;
}

void PacedRun::Start(Micros realNow, bool paused) {
  sim_.Start(0);
  lastReal_ = realNow;
  lastSim_ = 0;
  holdUntil_ = realNow;
  pausedAt_ = realNow;
  atBreakpoint_ = false;
  passBreakpoint_ = false;
  if (!sim_.running()) {
    state_ = RunState::Stopped;
  } else {
    state_ = paused ? RunState::Paused : RunState::Running;
  }
}

void PacedRun::Stop() {
  sim_.Stop();
  state_ = RunState::Stopped;
  atBreakpoint_ = false;
}

void PacedRun::Pause(Micros realNow) {
  if (state_ != RunState::Running) return;
  state_ = RunState::Paused;
  pausedAt_ = realNow;
  atBreakpoint_ = false;
}

void PacedRun::Resume(Micros realNow) {
  if (state_ != RunState::Paused) return;
  // The time spent paused does not count: a wait that was half over goes on for its rest.
  const Micros paused = std::max<Micros>(0, realNow - pausedAt_);
  lastReal_ += paused;
  holdUntil_ += paused;
  state_ = RunState::Running;
  atBreakpoint_ = false;
  passBreakpoint_ = true;
}

std::optional<Executed> PacedRun::StepOnce(Micros realNow, const PacedRun::Did& did) {
  if (state_ == RunState::Stopped) Start(realNow, true);
  if (state_ == RunState::Stopped) return std::nullopt;
  const std::optional<Executed> e = sim_.Advance(sim_.due());
  if (!e) return std::nullopt;
  atBreakpoint_ = false;
  if (state_ == RunState::Paused) pausedAt_ = realNow;
  Ran(*e, realNow, did);
  return e;
}

void PacedRun::SetPace(Pace pace, Micros realNow) {
  if (pace == pace_) return;
  const Micros now = state_ == RunState::Paused ? pausedAt_ : realNow;
  if (state_ != RunState::Stopped) {
    lastSim_ = SimAt(now);
    lastReal_ = now;
    holdUntil_ = now;
  }
  pace_ = pace;
}

Micros PacedRun::SimAt(Micros realNow) const {
  if (pace_ == Pace::Stepwise) return lastSim_;
  const Micros passed = std::max<Micros>(0, realNow - lastReal_) / Factor(pace_);
  return std::min(sim_.due(), lastSim_ + passed);
}

Micros PacedRun::DueReal() const {
  const Micros due = lastReal_ + (sim_.due() - lastSim_) * Factor(pace_);
  return pace_ == Pace::Watch ? std::max(due, holdUntil_) : due;
}

std::optional<Micros> PacedRun::NextWake() const {
  if (state_ != RunState::Running || pace_ == Pace::Stepwise) return std::nullopt;
  return DueReal();
}

void PacedRun::Run(Micros realNow, const PacedRun::Did& did) {
  while (state_ == RunState::Running && pace_ != Pace::Stepwise) {
    Micros when = DueReal();
    if (when > realNow) return;
    if (realNow - when > kMaxLagUs) when = realNow;
    const int next = sim_.NextInstruction();
    if (!passBreakpoint_ && next >= 0 && breakpoints_[static_cast<std::size_t>(next)]) {
      state_ = RunState::Paused;
      atBreakpoint_ = true;
      pausedAt_ = when;
      return;
    }
    const std::optional<Executed> e = sim_.Advance(sim_.due());
    if (!e) {
      state_ = RunState::Stopped;
      return;
    }
    Ran(*e, when, did);
  }
}

void PacedRun::Ran(const Executed& e, Micros at, const PacedRun::Did& did) {
  lastReal_ = at;
  lastSim_ = e.time;
  // Loop marks take no time and show nothing: only what lasts is held for watching.
  holdUntil_ = pace_ == Pace::Watch && e.duration > 0 ? at + kWatchStepMicros : at;
  passBreakpoint_ = false;
  if (!sim_.running()) state_ = RunState::Stopped;
  if (did) did(e);
}

}  // namespace pendra2::board_sim
