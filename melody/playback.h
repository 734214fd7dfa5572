#pragma once
// Note-by-note playback paced by the PC. The editor's timer calls PlaybackTick once per
// period; the tick says what to send and when to come back, and never waits itself.

#include <array>
#include <cstdint>
#include <optional>

#include "melody/score.h"

namespace pendra2::melody {

enum PlayState : int { kIdle = 0, kPlaying = 1, kTransferring = 2 };
enum PlayMode : int { kNoPlayback = 0, kWholeTune = -1, kVisiblePart = -2 };

// Loops nested deeper than this play their body once.
inline constexpr int kLoopCounters = 4;

struct PlaybackState {
  int playState = kIdle;
  int playMode = kNoPlayback;
  bool loopPlay = false;
  int playPosition = 0;  // the column handled at the next tick
  int playEnd = 0;       // exclusive
  int loopDepth = 0;
  std::array<int, kLoopCounters> loopCounters{};
  bool timerStarted = false;
  int playedPosition = -1;  // the column the last tick sounded, -1 before the first
};

struct TickResult {
  std::optional<uint8_t> note;  // PlayNote argument to send now
  bool running = false;         // set the timer again
  int periodMs = 0;             // for the next tick, read from the current tempo row
  bool redraw = false;          // the grid's played column changed
  // The column played, board or not: what the PC's own loudspeaker sounds.
  std::optional<uint8_t> sounded;
};

// The board's own run and stop buttons act only on a present board that is not busy.
constexpr bool MayRunOrStopBoard(bool found, const PlaybackState& state) {
  return found && state.playState == kIdle;
}

// Both starts refuse (nullopt) unless editMode is 0 and nothing plays or transfers; on
// success they return the period of the first tick.
std::optional<int> StartWholePlayback(PlaybackState& state, Score& score, int editMode);
std::optional<int> StartPartPlayback(PlaybackState& state, Score& score, int editMode,
                                     int scrollPos);

// One timer tick. found gates the board sends; scrollPos is where a looping part playback
// starts again.
TickResult PlaybackTick(PlaybackState& state, const Score& score, int scrollPos, bool found);

// Where the view goes while the whole tune plays: a played column that has run past the
// visible ones (or jumped back before them, at a loop) becomes the first one shown. A part
// playback plays what is shown, and stays where it is.
int FollowPlayedColumn(int scrollPos, const PlaybackState& state);

// The stop button: the closing silence to send (if any). Nothing happens unless a playback
// timer was ever started.
std::optional<uint8_t> StopPlayback(PlaybackState& state, bool found);

}  // namespace pendra2::melody
