#pragma once
// Note-by-note playback, paced on the board worker's thread: each tick is one call into the
// melody core and its note goes out from there, so a repaint or a busy window can never
// delay a note. The next tick is aimed at the previous tick's planned time plus the current
// period, so the time a tick itself takes does not add up over a tune.
//
// The ticks work on a copy of the score and the playback state that this driver keeps in
// step with the window's: edits, the tempo and the scroll position reach the copy at once
// (ScoreChanged), and each tick's playback state comes back to the window, which draws the
// played column from it.
//
// Without a board, or when the user asks for both, each note also goes to the PC's own
// loudspeaker, on the window's thread, where the loudspeaker lives.

#include <QObject>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "melody/melody_state.h"
#include "ui_common/board_worker.h"

namespace pendra2::melody_ui {

class PlaybackDriver final : public QObject {
 public:
  // `redraw` repaints the score window (the played column moved); `pcNote` sounds a note
  // (0-22) on the PC.
  PlaybackDriver(melody::MelodyState& state, ui::BoardWorker& board, std::function<void()> redraw,
                 std::function<void(uint8_t)> pcNote, QObject* parent = nullptr);
  ~PlaybackDriver() override;

  void StartWhole();
  void StartPart();
  // The stop button: silence and back to idle, if a playback was ever started.
  void Stop();
  // The new-score command: the playback ends at once, without the closing silence.
  void Abandon();
  // The window changed what a running playback reads: the cells, the tempo, the scroll
  // position (where a looping part playback starts again) or loop play.
  void ScoreChanged();
  // With a board there, whether the PC sounds the notes as well.
  void SetPcAlso(bool both);

 private:
  using Clock = ui::BoardWorker::Clock;
  // What the ticks read and change, under its own lock.
  struct Shared {
    std::mutex mutex;
    melody::Score score;
    melody::PlaybackState playback;
    int scrollPos = 0;
    uint64_t generation = 0;  // of the playback the ticks belong to
    bool pcAlso = false;
    Clock::time_point due{};
    // The driver the ticks report to; cleared (on the window's thread) when it goes.
    PlaybackDriver* owner = nullptr;
  };

  void Begin(int periodMs);
  // Ends whatever the ticks belong to; later news from them is dropped.
  uint64_t NextGeneration();
  // On the worker's thread; they hold the shared part only, which outlives the driver.
  static std::optional<Clock::time_point> Tick(const std::shared_ptr<Shared>& shared,
                                               device::Board& board, uint64_t generation);
  static void Silence(const std::shared_ptr<Shared>& shared, device::Board& board,
                      uint64_t generation);
  // To the window's thread: the playback as the ticks left it, to the driver if it is there.
  static void PostReport(const std::shared_ptr<Shared>& shared, uint64_t generation,
                         const melody::PlaybackState& playback, bool redraw);
  void Report(uint64_t generation, const melody::PlaybackState& playback, bool redraw);
  static void PostPcNote(const std::shared_ptr<Shared>& shared, uint64_t generation, uint8_t note);

  melody::MelodyState& state_;
  ui::BoardWorker& board_;
  std::function<void()> redraw_;
  std::function<void(uint8_t)> pcNote_;
  std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
  uint64_t generation_ = 0;
};

}  // namespace pendra2::melody_ui
