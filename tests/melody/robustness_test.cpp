// Random and mutated tune files through everything that reads a score: loading, cleaning,
// the tune image, both playbacks, the column edits, cut and paste. Under the sanitizers this
// finds any read or write outside the fixed buffers.

#include <gtest/gtest.h>

#include <random>

#include "helpers.h"
#include "melody/column_clip.h"
#include "melody/column_selection.h"
#include "melody/loop_marks.h"
#include "melody/score_edits.h"
#include "melody/tune_file.h"
#include "melody/tune_image.h"

namespace pendra2::melody {
namespace {

using namespace testing;

int Below(std::mt19937& rng, int n) {
  return static_cast<int>(rng() % static_cast<unsigned>(n));
}

Bytes ValidTune(std::mt19937& rng) {
  Cols columns;
  const std::size_t length = static_cast<std::size_t>(Below(rng, 120));
  while (columns.size() < length) {
    const int bodyStart = static_cast<int>(columns.size()) + 2;  // the column after the count
    if (Below(rng, 20) == 0 && columns.size() + 10 < length)     // a loop around three notes
      columns.insert(columns.end(), {'l', Below(rng, 4), Below(rng, 24), Below(rng, 24),
                                     Below(rng, 24), 'L', 0, 0, bodyStart});
    else
      columns.push_back(Below(rng, 24));
  }
  return TuneFile(columns, Below(rng, 13));
}

Bytes Mutate(Bytes file, std::mt19937& rng) {
  if (Below(rng, 4) == 0) file.resize(rng() % file.size());
  for (int flips = Below(rng, 12); flips > 0 && !file.empty(); --flips) {
    const uint8_t choices[] = {'l', 'L', 0, 1, 24, 255, 4, static_cast<uint8_t>(rng())};
    file[rng() % file.size()] = choices[Below(rng, 8)];
  }
  return file;
}

Bytes RandomFile(std::mt19937& rng) {
  Bytes file(rng() % 700);
  for (auto& b : file) b = static_cast<uint8_t>(rng());
  if (file.size() > 2 && Below(rng, 2)) file[2] = 'X';
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
  for (int i = 0; i < 2000 && PlaybackTick(playback, score, 0, true).running; ++i) continue;
  StopPlayback(playback, true);
  const int scroll = Below(rng, kMaxScrollPos + 1);
  StartPartPlayback(playback, score, 0, scroll);
  for (int i = 0; i < 100 && PlaybackTick(playback, score, scroll, true).running; ++i) continue;
  StopPlayback(playback, true);

  InsertColumns(score, Below(rng, kLastEditable + 1), 1 + Below(rng, 256));
  DeleteColumns(score, Below(rng, kLastEditable + 1), 1 + Below(rng, 256));
  RemoveLoop(score, Below(rng, kLastEditable + 1));
  ToggleNote(score, Below(rng, kLastEditable + 1), static_cast<uint8_t>(Below(rng, 24)));
  LoopJumpScroll(score.cells, Below(rng, kLastEditable + 1));

  // Columns copied and pasted elsewhere, their clipboard bytes damaged on the way, and cut.
  ColumnSelection cut;
  SelectColumns(cut, score.cells, Below(rng, kLastEditable + 1), Below(rng, kLastEditable + 1));
  const int at = MarkStart(score.cells, Below(rng, kLastEditable + 1));
  const Bytes copied = EncodeClip(ClipOf(score.cells, cut.first, cut.last));
  const DecodedClip clip = DecodeClip(Below(rng, 2) ? copied : Mutate(copied, rng));
  const bool fits = clip.clip.count <= RoomAt(score.cells, at);
  if (clip.trouble == ClipTrouble::kNone && fits) InsertClip(score, at, clip.clip);
  RemoveColumns(score, cut.first, cut.last);
  Normalise(score);
  TuneImage(score);
}

TEST(Robustness, ThousandsOfRandomAndMutatedTunes) {
  TempDir dir;
  const std::string in = (dir / "in.olg").string(), out = (dir / "out.olg").string();
  std::mt19937 rng(20261206);
  for (int i = 0; i < 3000; ++i) {
    const Bytes file = i % 3 == 0 ? RandomFile(rng) : Mutate(ValidTune(rng), rng);
    Exercise(file, rng);
    if (HasFatalFailure()) FAIL() << "iteration " << i;
    if (i % 15 != 1) continue;
    // Every file the editor opens saves back whole.
    WriteBytes(in, file);
    Score score;
    TuneHeader header{};
    if (!LoadTune(score, header, in).ok) continue;
    ASSERT_TRUE(SaveTune(score, header, out).ok()) << i;
    ASSERT_EQ(ReadBytes(out).size(), kTuneFileSize) << i;
  }
}

}  // namespace
}  // namespace pendra2::melody
