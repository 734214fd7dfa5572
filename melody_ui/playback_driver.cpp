#include "melody_ui/playback_driver.h"

#include <algorithm>

#include "melody/playback.h"

namespace pendra2::melody_ui {

PlaybackDriver::PlaybackDriver(melody::MelodyState& state, device::Board& board,
                               std::function<void()> redraw, QObject* parent)
    : QObject(parent), state_(state), board_(board), redraw_(std::move(redraw)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &PlaybackDriver::Tick);
}

void PlaybackDriver::StartWhole() {
  const auto period = melody::StartWholePlayback(state_.playback, state_.score, state_.editMode);
  if (period) Begin(*period);
}

void PlaybackDriver::StartPart() {
  const auto period =
      melody::StartPartPlayback(state_.playback, state_.score, state_.editMode, state_.scrollPos);
  if (period) Begin(*period);
}

void PlaybackDriver::Begin(int periodMs) {
  redraw_();
  due_ = Clock::now();
  ArmFor(periodMs);
}

void PlaybackDriver::ArmFor(int periodMs) {
  due_ += std::chrono::milliseconds(periodMs);
  const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(due_ - Clock::now());
  // A tick that came very late (the window was busy) does not make the next ones race to
  // catch up: the schedule starts afresh from now.
  if (wait.count() < -periodMs) due_ = Clock::now() + std::chrono::milliseconds(periodMs);
  timer_.start(static_cast<int>(std::max<long long>(wait.count(), 0)));
}

void PlaybackDriver::Tick() {
  const melody::TickResult tick =
      melody::PlaybackTick(state_.playback, state_.score, state_.scrollPos, board_.found());
  if (tick.note) board_.PlayNote(*tick.note);
  if (tick.running) ArmFor(tick.periodMs);
  if (tick.redraw || !tick.running) redraw_();
}

void PlaybackDriver::Stop() {
  if (!state_.playback.timerStarted) return;
  timer_.stop();
  if (const auto silence = melody::StopPlayback(state_.playback, board_.found())) {
    board_.PlayNote(*silence);
  }
  redraw_();
}

void PlaybackDriver::Abandon() {
  timer_.stop();
}

}  // namespace pendra2::melody_ui
