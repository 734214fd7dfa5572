#pragma once
// Note-by-note playback on a precise timer. Each tick is one call into the melody core;
// the next tick is aimed at the previous tick's planned time plus the current period, so
// the time a tick itself takes (the board send, the redraw) does not add up over a tune.

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

#include "device/board.h"
#include "melody/melody_state.h"

namespace pendra2::melody_ui {

class PlaybackDriver final : public QObject {
 public:
  // `redraw` repaints the score window (the played column moved).
  PlaybackDriver(melody::MelodyState& state, device::Board& board, std::function<void()> redraw,
                 QObject* parent = nullptr);

  void StartWhole();
  void StartPart();
  // The stop button: silence and back to idle, if a playback was ever started.
  void Stop();
  // The new-score command: the playback ends at once, without the closing silence.
  void Abandon();
  bool running() const { return timer_.isActive(); }

 private:
  using Clock = std::chrono::steady_clock;
  void Begin(int periodMs);
  void Tick();
  void ArmFor(int periodMs);

  melody::MelodyState& state_;
  device::Board& board_;
  std::function<void()> redraw_;
  QTimer timer_;
  Clock::time_point due_;
};

}  // namespace pendra2::melody_ui
