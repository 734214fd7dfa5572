#pragma once
// Scores, tune files and a scratch folder for the melody tests.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "melody/playback.h"
#include "melody/score.h"

namespace pendra2::melody::testing {

using Bytes = std::vector<uint8_t>;
using Cols = std::vector<int>;

// Columns as text: numbers, l and L for the loop marks, - for an empty column.
inline Cols C(std::string_view text) {
  Cols cols;
  std::istringstream in{std::string(text)};
  for (std::string t; in >> t;)
    cols.push_back(t == "l" ? 'l' : t == "L" ? 'L' : t == "-" ? kEmpty : std::stoi(t));
  return cols;
}

inline Score ScoreOf(std::string_view text) {
  Score score;
  const Cols cols = C(text);
  std::copy(cols.begin(), cols.end(), score.cells.begin());
  return score;
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

// A 576-byte tune file: "OL", the layout byte, the tempo index, `area` from offset 64 and
// empty columns after it.
inline Bytes TuneBytes(uint8_t layout, int tempoIndex, const Cols& area) {
  Bytes file(576, 0);
  file[0] = 'O';
  file[1] = 'L';
  file[2] = layout;
  file[24] = static_cast<uint8_t>(tempoIndex);
  std::fill(std::copy(area.begin(), area.end(), file.begin() + 64), file.end(), kEmpty);
  return file;
}

struct TempDir {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("pendra2_melody_" + std::to_string(::getpid()) + "_" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  TempDir() { std::filesystem::create_directories(path); }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::string File(const std::string& name) const { return (path / name).string(); }
};

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace pendra2::melody::testing
