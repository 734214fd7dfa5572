#pragma once
// Scores, tune file bytes and playbacks for the melody tests, and for the CLI and window tests
// that need a tune file.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "flowchart/temp_dir.h"
#include "interaction/user_message.h"
#include "melody/playback.h"
#include "melody/score.h"

namespace pendra2::melody::testing {

using Bytes = std::vector<uint8_t>;
using Cols = std::vector<int>;
using pendra2::testing::ReadBytes;
using pendra2::testing::TempDir;
using pendra2::testing::WriteBytes;

// Columns as text: numbers, l and L for the loop marks, - for an empty column.
inline Cols C(std::string_view text) {
  Cols cols;
  std::istringstream in{std::string(text)};
  for (std::string t; in >> t;)
    cols.push_back(t == "l" ? 'l' : t == "L" ? 'L' : t == "-" ? kEmpty : std::stoi(t));
  return cols;
}

// C1, a loop repeated twice around D1, E1.
inline const Cols kLoopTune = C("0 l 2 2 L 0 0 3 4");

inline Score ScoreOf(const Cols& cols) {
  Score score;
  std::copy(cols.begin(), cols.end(), score.cells.begin());
  return score;
}
inline Score ScoreOf(std::string_view text) {
  return ScoreOf(C(text));
}

inline Cols Head(const Score& score, std::size_t n) {
  return Cols(score.cells.begin(), score.cells.begin() + static_cast<std::ptrdiff_t>(n));
}

// Runs a started playback to its end and returns every PlayNote sent.
inline Cols Drain(PlaybackState& state, const Score& score) {
  Cols sent;
  for (bool running = true; running;) {
    const auto r = PlaybackTick(state, score, 0, true);
    if (r.note) sent.push_back(*r.note);
    running = r.running && sent.size() < 100000;
  }
  return sent;
}

inline Cols PlayWhole(Score score) {
  PlaybackState state;
  StartWholePlayback(state, score, 0);
  return Drain(state, score);
}

// A message as the scripted prompter records it: "caption: text".
inline std::string Said(const interaction::UserMessage& m) {
  return m.caption + ": " + m.text;
}

// A current-layout .olg file written byte by byte: "OLX", the length, the version text, the
// tempo index, the tempo pair, `columns` and an end mark, empty columns after it.
inline Bytes TuneFile(const Cols& columns, int tempoIndex = 2, uint8_t tempoByte = 0x50) {
  Bytes f(576, 0);
  const std::string_view magic = "OLX", version = "2.53.60";
  std::copy(magic.begin(), magic.end(), f.begin());
  std::copy(version.begin(), version.end(), f.begin() + 8);
  f[6] = static_cast<uint8_t>((columns.size() + 1) & 0xFF);
  f[7] = static_cast<uint8_t>((columns.size() + 1) >> 8);
  f[24] = static_cast<uint8_t>(tempoIndex);
  f[64] = 'T';
  f[65] = tempoByte;
  std::fill(std::copy(columns.begin(), columns.end(), f.begin() + 66), f.end(), kEmpty);
  f[66 + columns.size()] = kEndMark;
  return f;
}

}  // namespace pendra2::melody::testing
