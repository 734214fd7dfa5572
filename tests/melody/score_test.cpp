#include <gtest/gtest.h>

#include "melody/score.h"
#include "score_helpers.h"

namespace pendra2::melody {
namespace {

using testing::ScoreOf;

TEST(Score, ResetLeavesEmptyColumnsAndTheDefaultTempo) {
  Score score = ScoreOf({1, 2, 3});
  SetTempoIndex(score, 9);
  score.modified = true;
  ResetScore(score);
  for (uint8_t b : score.cells) EXPECT_EQ(b, kEmpty);
  EXPECT_EQ(score.tempoIndex, 2);
  EXPECT_EQ(score.tempoPair[0], 'T');
  EXPECT_EQ(score.tempoPair[1], 0x50);
  EXPECT_FALSE(score.modified);
}

TEST(Score, TempoIndexSetsTheTempoByteAndPeriod) {
  Score score;
  SetTempoIndex(score, 0);
  EXPECT_EQ(score.tempoPair[1], 121);
  EXPECT_EQ(PeriodMs(score), 500);
  SetTempoIndex(score, 12);
  EXPECT_EQ(score.tempoPair[1], 1);
  EXPECT_EQ(PeriodMs(score), 4);
  SetTempoIndex(score, 13);
  EXPECT_EQ(score.tempoIndex, 2);
  EXPECT_EQ(PeriodMs(score), 330);
  EXPECT_EQ(kTempoTable[10].label, "1/80(0.0125)秒");
  EXPECT_EQ(kTempoTable[11].periodMs, 8);
}

TEST(Normalise, EmptyScoreIsALoneEndMark) {
  Score score;
  Normalise(score);
  EXPECT_EQ(score.length, 1);
  EXPECT_EQ(score.cells[0], kEndMark);
  EXPECT_EQ(score.cells[1], kEmpty);
}

TEST(Normalise, GapsAndStaleEndMarksBecomeRests) {
  Score score = ScoreOf({4, 255, 255, 24, 200, 7});
  Normalise(score);
  EXPECT_EQ(score.length, 7);
  const std::vector<int> expected{4, 23, 23, 23, 23, 7, 24};
  for (int p = 0; p < 7; ++p) EXPECT_EQ(score.cells[p], expected[p]) << p;
  EXPECT_EQ(score.cells[7], kEmpty);
}

TEST(Normalise, TrailingEndMarksAndEmptiesAreNotUsedColumns) {
  Score score = ScoreOf({3, 24, 255, 24});
  Normalise(score);
  EXPECT_EQ(score.length, 2);
  EXPECT_EQ(score.cells[1], kEndMark);
  EXPECT_EQ(score.cells[3], 24);  // beyond the end: left as it was
}

TEST(Normalise, LoopParametersThatLookLikeCodesAreKept) {
  // 'l' with count 24, then 'L' with depth 255 and a target whose low byte is 24.
  Score score = ScoreOf({0, 'l', 24, 2, 'L', 255, 0, 24, 5});
  score.cells[20] = 255;
  Normalise(score);
  EXPECT_EQ(score.length, 10);
  EXPECT_EQ(score.cells[2], 24);
  EXPECT_EQ(score.cells[5], 255);
  EXPECT_EQ(score.cells[7], 24);
  EXPECT_EQ(score.cells[9], kEndMark);

  Score count255 = ScoreOf({'l', 255, 4});
  Normalise(count255);
  EXPECT_EQ(count255.cells[1], 255);
  EXPECT_EQ(count255.length, 4);
}

TEST(Normalise, AStrayParameterWithoutItsMarkIsCleaned) {
  Score score = ScoreOf({2, 108 + 1, 255, 3});
  Normalise(score);
  EXPECT_EQ(score.cells[1], kRest);
  EXPECT_EQ(score.cells[2], kRest);
}

TEST(Normalise, ColumnAtTheLastEditablePosition) {
  Score score;
  score.cells[510] = 5;
  score.cells[511] = 9;
  Normalise(score);
  EXPECT_EQ(score.length, 512);
  EXPECT_EQ(score.cells[511], kEndMark);
  EXPECT_EQ(score.cells[0], kRest);
}

}  // namespace
}  // namespace pendra2::melody
