#pragma once
// Building scores column by column for the melody tests.

#include <initializer_list>
#include <vector>

#include "melody/playback.h"
#include "melody/score.h"

namespace pendra2::melody::testing {

inline Score ScoreOf(std::initializer_list<int> columns) {
  Score score;
  int p = 0;
  for (int c : columns) score.cells[static_cast<std::size_t>(p++)] = static_cast<uint8_t>(c);
  return score;
}

// Runs a started playback to its end (or max ticks) and returns every PlayNote sent.
inline std::vector<int> Drain(PlaybackState& state, const Score& score, int maxTicks = 10000,
                              int scrollPos = 0) {
  std::vector<int> sent;
  for (int i = 0; i < maxTicks; ++i) {
    const auto r = PlaybackTick(state, score, scrollPos, true);
    if (r.note) sent.push_back(*r.note);
    if (!r.running) break;
  }
  return sent;
}

}  // namespace pendra2::melody::testing
