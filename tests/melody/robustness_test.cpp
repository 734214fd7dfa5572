// Random and mutated tune files through everything that reads a score: loading, cleaning,
// the tune image, both playbacks and the column edits. Run under the sanitizers this finds
// any read or write outside the fixed buffers.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "melody/loop_marks.h"
#include "melody/playback.h"
#include "melody/score_edits.h"
#include "melody/tune_file.h"
#include "melody/tune_image.h"
#include "temp_dir.h"

namespace pendra2::melody {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes ValidTune(std::mt19937& rng) {
  Bytes file(576, 0);
  file[0] = 'O';
  file[1] = 'L';
  file[2] = 'X';
  file[24] = static_cast<uint8_t>(rng() % 13);
  file[64] = 'T';
  file[65] = 80;
  int p = 0;
  const int length = static_cast<int>(rng() % 120);
  while (p < length) {
    const auto r = rng() % 20;
    if (r == 0 && p + 12 < length) {
      // A loop around a few notes.
      const int s = p;
      file[66 + p++] = 'l';
      file[66 + p++] = static_cast<uint8_t>(rng() % 4);
      for (int i = 0; i < 3; ++i) file[66 + p++] = static_cast<uint8_t>(rng() % 24);
      file[66 + p++] = 'L';
      file[66 + p++] = 0;
      file[66 + p++] = 0;
      file[66 + p++] = static_cast<uint8_t>(s + 2);
    } else {
      file[66 + p++] = static_cast<uint8_t>(rng() % 24);
    }
  }
  file[66 + p] = 24;
  for (std::size_t i = 67 + static_cast<std::size_t>(p); i < file.size(); ++i) file[i] = 255;
  file[6] = static_cast<uint8_t>(p + 1);
  return file;
}

Bytes Mutate(Bytes file, std::mt19937& rng) {
  const auto kind = rng() % 4;
  if (kind == 0) {
    file.resize(rng() % file.size());
  } else {
    const int flips = 1 + static_cast<int>(rng() % 12);
    for (int i = 0; i < flips; ++i) {
      const auto at = rng() % file.size();
      const uint8_t choices[] = {'l', 'L', 0, 1, 24, 255, 4, static_cast<uint8_t>(rng())};
      file[at] = choices[rng() % 8];
    }
  }
  return file;
}

Bytes RandomFile(std::mt19937& rng) {
  Bytes file(rng() % 700);
  for (auto& b : file) b = static_cast<uint8_t>(rng());
  if (file.size() > 2 && rng() % 2) file[2] = 'X';
  return file;
}

void Exercise(const Bytes& file, std::mt19937& rng) {
  Score score;
  TuneHeader header{};
  LoadTuneBytes(score, header, file);
  ASSERT_TRUE(IsTempoIndex(score.tempoIndex));
  Normalise(score);
  ASSERT_GE(score.length, 1);
  ASSERT_LE(score.length, kCellCount);
  ASSERT_EQ(score.cells[static_cast<std::size_t>(score.length - 1)], kEndMark);
  TuneImage(score);

  PlaybackState playback;
  StartWholePlayback(playback, score, 0);
  for (int i = 0; i < 2000 && PlaybackTick(playback, score, 0, true).running; ++i) {
  }
  StopPlayback(playback, true);
  const int scroll = static_cast<int>(rng() % (kMaxScrollPos + 1));
  StartPartPlayback(playback, score, 0, scroll);
  for (int i = 0; i < 100 && PlaybackTick(playback, score, scroll, true).running; ++i) {
  }
  StopPlayback(playback, true);

  const int column = static_cast<int>(rng() % (kLastEditable + 1));
  switch (rng() % 5) {
    case 0:
      InsertColumns(score, column, 1 + static_cast<int>(rng() % 256));
      break;
    case 1:
      DeleteColumns(score, column, 1 + static_cast<int>(rng() % 256));
      break;
    case 2:
      RemoveLoop(score, column);
      break;
    case 3:
      ToggleNote(score, column, static_cast<uint8_t>(rng() % 24));
      break;
    default:
      LoopJumpScroll(score.cells, column);
      break;
  }
  Normalise(score);
  TuneImage(score);
}

TEST(Robustness, ThousandsOfRandomAndMutatedTunes) {
  std::mt19937 rng(20261206);
  for (int i = 0; i < 3000; ++i) {
    const Bytes file = (i % 3 == 0) ? RandomFile(rng) : Mutate(ValidTune(rng), rng);
    Exercise(file, rng);
    if (HasFatalFailure()) FAIL() << "iteration " << i;
  }
}

TEST(Robustness, DamagedFilesOnDiskLoadAndSaveBack) {
  testing::TempDir dir;
  std::mt19937 rng(7);
  for (int i = 0; i < 200; ++i) {
    const Bytes file = Mutate(ValidTune(rng), rng);
    testing::WriteBytes(dir.File("in.olg"), file);
    Score score;
    TuneHeader header{};
    ASSERT_TRUE(LoadTune(score, header, dir.File("in.olg")).ok);
    ASSERT_TRUE(SaveTune(score, header, dir.File("out.olg")).ok);
    ASSERT_EQ(testing::ReadBytes(dir.File("out.olg")).size(), kTuneFileSize);
  }
}

}  // namespace
}  // namespace pendra2::melody
