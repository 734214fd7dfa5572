#include "melody_ui/playback_driver.h"

#include <algorithm>
#include <thread>

#include "melody/playback.h"

namespace pendra2::melody_ui {
namespace {

constexpr std::chrono::microseconds kEarlyWake{1500};
constexpr std::chrono::microseconds kNap{200};

}  // namespace

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
  const auto now = Clock::now();
  // A tick that came very late (the window was busy) does not make the next ones race to
  // catch up: the schedule starts afresh from now.
  if (due_ - now < -std::chrono::milliseconds(periodMs))
    due_ = now + std::chrono::milliseconds(periodMs);
  // The timer counts whole milliseconds and may fire up to one early or late: it is aimed a
  // little before the due time, and the tick waits out the rest itself.
  const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(due_ - now - kEarlyWake);
  timer_.start(static_cast<int>(std::max<long long>(wait.count(), 0)));
}

void PlaybackDriver::Tick() {
  // At most kEarlyWake of sleeping, in short naps so the note leaves within a few tens of
  // microseconds of its due time.
  // Bounded whatever the timer did, so the window can never be held for long.
  const auto until = std::min(due_, Clock::now() + 2 * kEarlyWake);
  for (auto now = Clock::now(); now < until; now = Clock::now())
    std::this_thread::sleep_for(std::min<Clock::duration>(until - now, kNap));
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
