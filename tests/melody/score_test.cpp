#include <gtest/gtest.h>

#include "helpers.h"
#include "melody/live_note.h"
#include "melody/tune_image.h"

namespace pendra2::melody {
namespace {

using namespace testing;

TEST(Score, ResetAndTempoRows) {
  Score score = ScoreOf("1 2 3");
  SetTempoIndex(score, 9);
  score.modified = true;
  ResetScore(score);
  EXPECT_EQ(score.cells, EmptyCells());
  EXPECT_EQ(score.tempoIndex, 2);
  EXPECT_EQ(score.tempoPair, (std::array<uint8_t, 2>{'T', 0x50}));
  EXPECT_FALSE(score.modified);
  // index, tempo byte, period; 13 is out of range and falls back to the default row.
  for (const auto [index, tempoByte, periodMs] : {std::array{0, 121, 500}, std::array{12, 1, 4},
                                                  std::array{11, 2, 8}, std::array{13, 80, 330}}) {
    SetTempoIndex(score, index);
    EXPECT_EQ(std::pair(int{score.tempoPair[1]}, PeriodMs(score)), std::pair(tempoByte, periodMs));
  }
  EXPECT_EQ(score.tempoIndex, 2);
  EXPECT_EQ(kTempoTable[10].label, "1/80(0.0125)秒");
}

TEST(Normalise, RestsEndMarkAndLength) {
  const std::tuple<const char*, int, const char*> cases[] = {
      {"", 1, "24 -"},
      {"4 - - 24 200 7", 7, "4 23 23 23 23 7 24 -"},
      {"3 24 - 24", 2, "3 24 - 24"},  // past the end mark: left as it was
      {"0 l 24 2 L 255 0 24 5", 10, "0 l 24 2 L 255 0 24 5 24"},  // parameters are kept
      {"l 255 4", 4, "l 255 4 24"},
      {"2 109 - 3", 5, "2 23 23 3 24"},  // a stray parameter without its mark
  };
  for (const auto& [in, length, head] : cases) {
    Score score = ScoreOf(in);
    Normalise(score);
    EXPECT_EQ(score.length, length) << in;
    EXPECT_EQ(Head(score, C(head).size()), C(head)) << in;
  }
  Score last;
  last.cells[510] = 5;
  last.cells[511] = 9;
  Normalise(last);
  EXPECT_EQ(last.length, 512);
  EXPECT_EQ(last.cells[511], kEndMark);
  EXPECT_EQ(last.cells[0], kRest);
}

TEST(TuneImage, LayoutAndTheLongestTuneThatFits) {
  Score score = ScoreOf("0 4 7 12 23 22");
  SetTempoIndex(score, 6);
  score.tempoPair[1] = 99;  // as a loaded file might hold it: the tempo row wins
  Normalise(score);
  ASSERT_TRUE(FitsTuneImage(score));
  auto image = TuneImage(score);
  EXPECT_EQ(Cols(image.begin(), image.begin() + 10), C("84 30 0 4 7 12 23 22 24 69"));
  EXPECT_EQ(Cols(image.begin() + 10, image.end()), Cols(502, 255));
  EXPECT_EQ(score.cells[7], kEmpty);  // the score itself does not take the terminator

  score.cells[507] = 3;
  Normalise(score);
  ASSERT_TRUE(FitsTuneImage(score));
  image = TuneImage(score);
  EXPECT_EQ(image[510], kEndMark);
  EXPECT_EQ(image[511], 'E');
  for (int last : {508, 510}) {
    score.cells[static_cast<std::size_t>(last)] = 3;
    Normalise(score);
    EXPECT_FALSE(FitsTuneImage(score));
    TuneImage(score);  // never writes outside the image
  }
}

TEST(LiveNote, KeyboardHitsAndSends) {
  // x, y, key: black keys first on their half, then the white keys.
  const std::array<int, 3> keys[] = {{10, 400, 1}, {50, 400, 2},  {10, 420, 0},
                                     {38, 21, 22}, {39, 21, -1},  {78, 32, 21},
                                     {79, 32, -1}, {60, 402, -1}, {60, 0, -1}};
  for (const auto& [x, y, key] : keys) EXPECT_EQ(KeyAt(x, y).value_or(-1), key) << x << "," << y;

  const auto sent = [](const Sends& s) { return Cols(s.codes.begin(), s.codes.begin() + s.count); };
  int live = kNoLiveNote;
  EXPECT_EQ(sent(ToggleLiveNote(live, 7, true, kIdle)), Cols{7});
  EXPECT_EQ(sent(ToggleLiveNote(live, 7, true, kIdle)), Cols{23});  // same key: silence
  EXPECT_EQ(live, kNoLiveNote);
  ToggleLiveNote(live, 7, true, kIdle);
  EXPECT_EQ(sent(ToggleLiveNote(live, 9, true, kIdle)), Cols{9});
  // Without a board or during a transfer nothing is sent, but the live note follows.
  EXPECT_EQ(ToggleLiveNote(live, 4, false, kIdle).count, 0);
  EXPECT_EQ(live, 4);
  EXPECT_EQ(ToggleLiveNote(live, 4, true, kTransferring).count, 0);
  EXPECT_EQ(live, kNoLiveNote);
  EXPECT_EQ(sent(ToggleLiveNote(live, 4, true, kPlaying)), Cols{4});

  EXPECT_EQ(sent(NoteEntrySounds(uint8_t{12}, true, kIdle)), (Cols{12, 23}));
  EXPECT_EQ(sent(NoteEntrySounds(std::nullopt, true, kPlaying)), Cols{23});
  EXPECT_EQ(NoteEntrySounds(uint8_t{12}, false, kIdle).count, 0);
  EXPECT_EQ(NoteEntrySounds(uint8_t{12}, true, kTransferring).count, 0);
}

}  // namespace
}  // namespace pendra2::melody
