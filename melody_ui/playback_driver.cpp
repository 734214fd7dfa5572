#include "melody_ui/playback_driver.h"

#include <QCoreApplication>

#include "melody/playback.h"

namespace pendra2::melody_ui {

PlaybackDriver::PlaybackDriver(melody::MelodyState& state, ui::BoardWorker& board,
                               std::function<void()> redraw, std::function<void(uint8_t)> pcNote,
                               QObject* parent)
    : QObject(parent),
      state_(state),
      board_(board),
      redraw_(std::move(redraw)),
      pcNote_(std::move(pcNote)) {
  shared_->owner = this;
}

PlaybackDriver::~PlaybackDriver() {
  NextGeneration();
  board_.StopTicker();
  const std::lock_guard lock(shared_->mutex);
  shared_->owner = nullptr;
}

uint64_t PlaybackDriver::NextGeneration() {
  const std::lock_guard lock(shared_->mutex);
  shared_->generation = ++generation_;
  return generation_;
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
  const uint64_t generation = NextGeneration();
  const Clock::time_point due = Clock::now() + std::chrono::milliseconds(periodMs);
  {
    const std::lock_guard lock(shared_->mutex);
    shared_->score = state_.score;
    shared_->playback = state_.playback;
    shared_->scrollPos = state_.scrollPos;
    shared_->due = due;
  }
  board_.StartTicker(due, [shared = shared_, generation](device::Board& board) {
    return Tick(shared, board, generation);
  });
}

std::optional<PlaybackDriver::Clock::time_point> PlaybackDriver::Tick(
    const std::shared_ptr<Shared>& shared, device::Board& board, uint64_t generation) {
  melody::TickResult tick;
  melody::PlaybackState after;
  Clock::time_point next;
  bool onPc = false;
  {
    const std::lock_guard lock(shared->mutex);
    if (shared->generation != generation) return std::nullopt;
    onPc = shared->pcAlso || !board.found();
    tick = melody::PlaybackTick(shared->playback, shared->score, shared->scrollPos, board.found());
    after = shared->playback;
    const auto period = std::chrono::milliseconds(tick.periodMs);
    next = shared->due + period;
    // A tick that came very late does not make the next ones race to catch up: the
    // schedule starts afresh from now.
    if (next - Clock::now() < -period) next = Clock::now() + period;
    shared->due = next;
  }
  if (tick.note) board.PlayNote(*tick.note);
  // A rest plucks nothing: the tines before it ring on, as on a music box.
  if (onPc && tick.sounded && *tick.sounded <= melody::kHighestNote)
    PostPcNote(shared, generation, *tick.sounded);
  if (tick.redraw || !tick.running) PostReport(shared, generation, after, true);
  if (!tick.running) return std::nullopt;
  return next;
}

void PlaybackDriver::PostReport(const std::shared_ptr<Shared>& shared, uint64_t generation,
                                const melody::PlaybackState& playback, bool redraw) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [shared, generation, playback, redraw] {
        PlaybackDriver* owner = nullptr;
        {
          const std::lock_guard lock(shared->mutex);
          owner = shared->owner;
        }
        if (owner != nullptr) owner->Report(generation, playback, redraw);
      },
      Qt::QueuedConnection);
}

void PlaybackDriver::PostPcNote(const std::shared_ptr<Shared>& shared, uint64_t generation,
                                uint8_t note) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [shared, generation, note] {
        PlaybackDriver* owner = nullptr;
        {
          const std::lock_guard lock(shared->mutex);
          if (shared->generation == generation) owner = shared->owner;
        }
        if (owner != nullptr && owner->pcNote_) owner->pcNote_(note);
      },
      Qt::QueuedConnection);
}

void PlaybackDriver::Report(uint64_t generation, const melody::PlaybackState& playback,
                            bool redraw) {
  if (generation != generation_) return;
  const bool loopPlay = state_.playback.loopPlay;  // the window's to change, not the ticks'
  state_.playback = playback;
  state_.playback.loopPlay = loopPlay;
  if (redraw) redraw_();
}

void PlaybackDriver::ScoreChanged() {
  const std::lock_guard lock(shared_->mutex);
  shared_->score = state_.score;
  shared_->scrollPos = state_.scrollPos;
  shared_->playback.loopPlay = state_.playback.loopPlay;
}

void PlaybackDriver::SetPcAlso(bool both) {
  const std::lock_guard lock(shared_->mutex);
  shared_->pcAlso = both;
}

void PlaybackDriver::Stop() {
  if (!state_.playback.timerStarted) return;
  const uint64_t generation = NextGeneration();
  // The closing silence follows the last tick, on the same thread, so it can never come
  // before that tick's note.
  board_.StopTicker(
      [shared = shared_, generation](device::Board& board) { Silence(shared, board, generation); });
}

void PlaybackDriver::Silence(const std::shared_ptr<Shared>& shared, device::Board& board,
                             uint64_t generation) {
  std::optional<uint8_t> silence;
  melody::PlaybackState after;
  {
    const std::lock_guard lock(shared->mutex);
    silence = melody::StopPlayback(shared->playback, board.found());
    after = shared->playback;
  }
  if (silence) board.PlayNote(*silence);
  PostReport(shared, generation, after, true);
}

void PlaybackDriver::Abandon() {
  NextGeneration();
  board_.StopTicker();
}

}  // namespace pendra2::melody_ui
