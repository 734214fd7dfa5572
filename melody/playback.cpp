#include "melody/playback.h"

#include <algorithm>

#include "melody/loop_marks.h"
#include "melody/score_edits.h"
#include "melody/score_geometry.h"

namespace pendra2::melody {
namespace {

bool MayStart(const PlaybackState& state, int editMode) {
  return editMode == 0 && state.playState == kIdle;
}

void Begin(PlaybackState& state, int mode, int position, int end) {
  state.playMode = mode;
  state.playPosition = position;
  state.playEnd = end;
  state.loopDepth = 0;
  state.loopCounters.fill(0);
  state.playState = kPlaying;
  state.timerStarted = true;
  state.playedPosition = -1;
}

void Finish(PlaybackState& state) {
  state.playMode = kNoPlayback;
  state.playState = kIdle;
  state.playedPosition = -1;
}

}  // namespace

std::optional<int> StartWholePlayback(PlaybackState& state, Score& score, int editMode) {
  if (!MayStart(state, editMode)) return std::nullopt;
  Normalise(score);
  Begin(state, kWholeTune, 0, score.length);
  return PeriodMs(score);
}

std::optional<int> StartPartPlayback(PlaybackState& state, Score& score, int editMode,
                                     int scrollPos) {
  if (!MayStart(state, editMode)) return std::nullopt;
  Normalise(score);
  Begin(state, kVisiblePart, scrollPos, std::min(scrollPos + kVisibleColumns, score.length));
  return PeriodMs(score);
}

int FollowPlayedColumn(int scrollPos, const PlaybackState& state) {
  const int played = state.playedPosition;
  if (state.playState != kPlaying || state.playMode != kWholeTune || played < 0) return scrollPos;
  if (played >= scrollPos && played < scrollPos + kVisibleColumns) return scrollPos;
  return std::min(played, kMaxScrollPos);
}

TickResult PlaybackTick(PlaybackState& state, const Score& score, int scrollPos, bool found) {
  TickResult result;
  if (state.playState != kPlaying) return result;
  const Cells& cells = score.cells;
  int& pos = state.playPosition;

  if (pos < state.playEnd && pos >= 0) {
    const uint8_t b = CellAt(cells, pos);
    if (b == kLoopStart && state.playMode == kVisiblePart) {
      pos += 2;
    } else if (b == kLoopEnd && state.playMode == kVisiblePart) {
      pos += 4;
    } else if (b == kLoopStart) {
      if (state.loopDepth < kLoopCounters) {
        state.loopCounters[static_cast<std::size_t>(state.loopDepth)] = CellAt(cells, pos + 1);
      }
      ++state.loopDepth;
      pos += 2;
    } else if (b == kLoopEnd) {
      const int d = CellAt(cells, pos + 1);
      if (d < kLoopCounters && state.loopCounters[static_cast<std::size_t>(d)] > 0) {
        --state.loopCounters[static_cast<std::size_t>(d)];
        pos = LoopTarget(cells, pos);
      } else {
        state.loopDepth = std::max(0, state.loopDepth - 1);
        pos += 4;
      }
    } else {
      if (found) result.note = b;
      result.sounded = b;
      state.playedPosition = pos;
      result.redraw = true;
      ++pos;
    }
  } else if (!state.loopPlay) {
    if (found) result.note = kRest;
    Finish(state);
    result.redraw = true;
    return result;
  } else if (state.playMode == kWholeTune) {
    pos = 0;
    state.loopDepth = 0;
  } else {
    pos = scrollPos;
  }
  result.running = true;
  result.periodMs = PeriodMs(score);
  return result;
}

std::optional<uint8_t> StopPlayback(PlaybackState& state, bool found) {
  if (!state.timerStarted) return std::nullopt;
  std::optional<uint8_t> silence;
  if (found && state.playState != kTransferring) silence = kRest;
  Finish(state);
  return silence;
}

}  // namespace pendra2::melody
