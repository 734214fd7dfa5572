#include "ui_common/sim_runner.h"

#include <algorithm>

namespace pendra2::ui {
namespace {

namespace bs = board_sim;

// A program without waits then runs a few hundred instructions per wake-up instead of
// waking the PC for each one.
constexpr bs::Micros kMinWakeUs = 20'000;
// Nor sleeps longer, so a change of speed or input is noticed soon.
constexpr bs::Micros kMaxWakeUs = 500'000;

}  // namespace

SimRunner::SimRunner(QObject* parent) : QObject(parent) {
  clock_.start();
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &SimRunner::Tick);
}

bs::Micros SimRunner::Now() const {
  return clock_.nsecsElapsed() / 1000;
}

void SimRunner::FeedInputs() {
  if (!inputs_) return;
  const std::array<uint16_t, 3> now = inputs_();
  for (int i = 0; i < 3; ++i) run_.SetInput(i, now[static_cast<std::size_t>(i)]);
}

void SimRunner::Load(std::span<const uint8_t, bs::kImageBytes> image) {
  run_.Load(image);
  timer_.stop();
  emit changed();
}

void SimRunner::Start(bool paused) {
  const bs::RunState before = run_.state();
  FeedInputs();
  run_.Start(Now(), paused);
  // What is due at once (the first steps) runs now, so a start shows at once.
  if (!paused) run_.Run(Now(), onRan_);
  After(before == bs::RunState::Stopped ? bs::RunState::Running : before);
}

void SimRunner::Stop() {
  run_.Stop();
  timer_.stop();
  emit changed();
}

void SimRunner::Pause() {
  run_.Pause(Now());
  Schedule();
  emit changed();
}

void SimRunner::Resume() {
  const bs::RunState before = run_.state();
  FeedInputs();
  run_.Resume(Now());
  run_.Run(Now(), onRan_);
  After(before);
}

void SimRunner::StepOnce() {
  const bs::RunState before = run_.state();
  FeedInputs();
  run_.StepOnce(Now(), onRan_);
  After(before == bs::RunState::Stopped ? bs::RunState::Paused : before);
}

void SimRunner::SetPace(bs::Pace pace) {
  run_.SetPace(pace, Now());
  Schedule();
}

void SimRunner::Tick() {
  const bs::RunState before = run_.state();
  FeedInputs();
  run_.Run(Now(), onRan_);
  After(before);
}

void SimRunner::After(bs::RunState before) {
  Schedule();
  emit changed();
  if (before != bs::RunState::Stopped && run_.state() == bs::RunState::Stopped) emit ended();
  if (before == bs::RunState::Running && run_.atBreakpoint()) emit pausedAtBreakpoint();
}

void SimRunner::Schedule() {
  const std::optional<bs::Micros> wake = run_.NextWake();
  if (!wake) {
    timer_.stop();
    return;
  }
  const bs::Micros ahead = std::clamp(*wake - Now(), kMinWakeUs, kMaxWakeUs);
  timer_.start(static_cast<int>((ahead + 999) / 1000));
}

}  // namespace pendra2::ui
