#include "melody/played_tune.h"

#include <algorithm>

#include "melody/melody_state.h"
#include "melody/playback.h"

namespace pendra2::melody {
namespace {

// Damaged loop marks can jump among themselves without ever reaching a column: each such
// jump is a tick, so a bound on ticks ends them too.
constexpr long kMaxTicks = 4'000'000;

}  // namespace

bool PlayedTune::HasNotes() const {
  return std::any_of(columns.begin(), columns.end(),
                     [](uint8_t code) { return code <= kHighestNote; });
}

PlayedTune PlayOut(const Score& score) {
  Score copy = score;
  PlaybackState state;
  PlayedTune tune;
  const auto period = StartWholePlayback(state, copy, kEditMode);
  tune.periodMs = PeriodMs(copy);
  if (!period) return tune;
  const auto maxColumns =
      static_cast<std::size_t>(std::min(kMaxPlayedMs / tune.periodMs, kMaxPlayedColumns));
  for (long tick = 0;; ++tick) {
    if (tick == kMaxTicks || tune.columns.size() == maxColumns) {
      tune.cut = true;
      break;
    }
    const TickResult result = PlaybackTick(state, copy, 0, false);
    if (!result.running) break;
    // The end mark is played as a column of its own, but it is no note: the tune ends.
    if (result.sounded && IsNoteOrRest(*result.sounded)) tune.columns.push_back(*result.sounded);
  }
  return tune;
}

}  // namespace pendra2::melody
