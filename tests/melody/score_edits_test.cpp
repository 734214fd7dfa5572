#include "melody/score_edits.h"

#include <gtest/gtest.h>

#include "melody/loop_marks.h"
#include "melody/playback.h"
#include "score_helpers.h"

namespace pendra2::melody {
namespace {

using testing::Drain;
using testing::ScoreOf;
using Cols = std::vector<int>;

Cols Head(const Score& score, int n) {
  return Cols(score.cells.begin(), score.cells.begin() + n);
}

Cols PlayWhole(Score score) {
  PlaybackState state;
  StartWholePlayback(state, score, 0);
  return Drain(state, score, 100000);
}

TEST(GridGeometry, ColumnsAndRows) {
  EXPECT_EQ(GridColumn(81, 0), 0);
  EXPECT_EQ(GridColumn(104, 0), 0);
  EXPECT_EQ(GridColumn(105, 3), 4);
  EXPECT_EQ(GridColumn(604, 490), 510);
  EXPECT_EQ(GridColumn(80, 0), std::nullopt);
  EXPECT_EQ(GridColumn(605, 0), std::nullopt);
  EXPECT_EQ(GridRowCode(0), 23);
  EXPECT_EQ(GridRowCode(431), 0);
  EXPECT_EQ(GridRowCode(432), std::nullopt);
}

TEST(NoteEntry, SameRowTwiceSetsThenEmptiesOtherRowReplaces) {
  Score score;
  EXPECT_EQ(ToggleNote(score, 4, 9), 9);
  EXPECT_EQ(score.cells[4], 9);
  EXPECT_TRUE(score.modified);
  EXPECT_EQ(ToggleNote(score, 4, 9), std::nullopt);
  EXPECT_EQ(score.cells[4], kEmpty);
  ToggleNote(score, 4, 9);
  EXPECT_EQ(ToggleNote(score, 4, 23), 23);
  EXPECT_EQ(score.cells[4], 23);
}

TEST(NoteEntry, ClicksOnMarksAndTheirParametersAreClassified) {
  const Score score = ScoreOf({1, 'l', 3, 2, 'L', 0, 0, 3, 4});
  EXPECT_EQ(ClassifyGridClick(score.cells, 0), GridClick::kNote);
  EXPECT_EQ(ClassifyGridClick(score.cells, 1), GridClick::kLoopCount);
  EXPECT_EQ(ClassifyGridClick(score.cells, 2), GridClick::kParameterCell);
  EXPECT_EQ(ClassifyGridClick(score.cells, 4), GridClick::kLoopJump);
  for (int n = 5; n <= 7; ++n)
    EXPECT_EQ(ClassifyGridClick(score.cells, n), GridClick::kParameterCell);
  EXPECT_EQ(ClassifyGridClick(score.cells, 8), GridClick::kNote);
  for (int n = 4; n <= 7; ++n) EXPECT_EQ(MarkStart(score.cells, n), 4);
  EXPECT_EQ(MarkStart(score.cells, 2), 1);
  EXPECT_EQ(LoopCount(score.cells, 1), 3);
  EXPECT_EQ(LoopJumpScroll(score.cells, 4), 1);
}

TEST(NoteEntry, LoopCountIsStoredWithinItsRange) {
  Score score = ScoreOf({'l', 3, 2});
  SetLoopCount(score, 0, 300);
  EXPECT_EQ(score.cells[1], 255);
  SetLoopCount(score, 0, 0);
  EXPECT_EQ(score.cells[1], 0);
}

TEST(CountField, NumbersAsTheDialogsReadThem) {
  EXPECT_EQ(CountFromField("1", 256), 1);
  EXPECT_EQ(CountFromField(" 12 ", 256), 12);
  EXPECT_EQ(CountFromField("999", 256), 256);
  EXPECT_EQ(CountFromField("-3", 256), 256);
  EXPECT_EQ(CountFromField("abc", 256), 0);
  EXPECT_EQ(CountFromField("", 256), 0);
  EXPECT_EQ(CountFromField("4x", 255), 0);
  EXPECT_EQ(CountFromField("99999999999", 255), 0);
  EXPECT_EQ(CountFromField("300", 255), 255);
}

// Two loops: one whose body starts at 5, one whose body starts at 20.
Score TwoLoops() {
  Score score;
  const Cols cols{1, 1, 1, 'l', 1,   2, 2, 'L', 0,   0, 5, 3,  3, 3,
                  3, 3, 3, 3,   'l', 1, 4, 4,   'L', 0, 0, 20, 6};
  for (std::size_t i = 0; i < cols.size(); ++i) score.cells[i] = static_cast<uint8_t>(cols[i]);
  return score;
}

TEST(InsertColumns, TargetsAfterThePointGrow) {
  Score score = TwoLoops();
  InsertColumns(score, 10, 3);
  // The mark start of column 10 is the loop-end mark at 7: the columns go in before it.
  EXPECT_EQ(score.cells[7], kEmpty);
  EXPECT_EQ(score.cells[10], 'L');
  EXPECT_EQ(LoopTarget(score.cells, 10), 5);  // before the point: kept
  EXPECT_EQ(score.cells[21], 'l');
  EXPECT_EQ(LoopTarget(score.cells, 25), 23);
  EXPECT_TRUE(score.modified);

  Score plain = TwoLoops();
  InsertColumns(plain, 12, 3);
  EXPECT_EQ(Head(plain, 16), (Cols{1, 1, 1, 'l', 1, 2, 2, 'L', 0, 0, 5, 3, 255, 255, 255, 3}));
  EXPECT_EQ(LoopTarget(plain.cells, 25), 23);
}

TEST(InsertColumns, AtTheFirstBodyColumnTheNewColumnsJoinTheBody) {
  Score score = ScoreOf({'l', 1, 2, 'L', 0, 0, 2, 4});
  InsertColumns(score, 2, 1);
  score.cells[2] = 9;
  EXPECT_EQ(LoopTarget(score.cells, 4), 2);
  EXPECT_EQ(PlayWhole(score), (Cols{9, 2, 9, 2, 4, 24, 23}));
}

TEST(InsertColumns, ColumnsPushedPastTheEndAreLost) {
  Score score;
  score.cells[509] = 5;
  score.cells[510] = 6;
  score.cells[511] = 7;
  InsertColumns(score, 505, 256);
  EXPECT_EQ(score.cells[510], kEmpty);
  EXPECT_EQ(score.cells[511], kEmpty);
  InsertColumns(score, 0, 1);
  InsertColumns(score, 511, 1);  // outside the editable columns: ignored
}

TEST(DeleteColumns, StepsOverALoopStartMetAtThePoint) {
  // Delete 2 at the note directly before the loop-start mark.
  Score score = ScoreOf({1, 5, 'l', 2, 7, 8, 'L', 0, 0, 4, 9});
  DeleteColumns(score, 1, 2);
  EXPECT_EQ(Head(score, 10), (Cols{1, 'l', 2, 8, 'L', 0, 0, 3, 9, 255}));
  EXPECT_EQ(score.cells[510], kEmpty);
  EXPECT_EQ(PlayWhole(score), (Cols{1, 8, 8, 8, 9, 24, 23}));
}

TEST(DeleteColumns, TargetsAfterThePointShrinkABodyStartingThereStays) {
  Score score = TwoLoops();
  DeleteColumns(score, 12, 2);
  EXPECT_EQ(LoopTarget(score.cells, 7), 5);
  EXPECT_EQ(score.cells[16], 'l');
  EXPECT_EQ(LoopTarget(score.cells, 20), 18);

  Score body = ScoreOf({'l', 1, 2, 3, 'L', 0, 0, 2, 4});
  DeleteColumns(body, 2, 1);
  EXPECT_EQ(LoopTarget(body.cells, 3), 2);
  EXPECT_EQ(PlayWhole(body), (Cols{3, 3, 4, 24, 23}));
}

TEST(DeleteColumns, AtALoopEndMarkStepsOverIt) {
  Score score = ScoreOf({'l', 1, 2, 'L', 0, 0, 2, 4, 5});
  DeleteColumns(score, 5, 1);  // a parameter cell: its mark starts at 3
  EXPECT_EQ(Head(score, 9), (Cols{'l', 1, 2, 'L', 0, 0, 2, 5, 255}));
  DeleteColumns(score, 0, 300);
  EXPECT_EQ(score.cells[0], 'l');
}

TEST(RemoveLoop, InsideAnOuterLoopFromEitherMark) {
  // outer: A [ inner: [ innermost: B ] C ] D, then E
  const Cols cols{'l', 1, 0, 'l', 1, 'l', 1, 1, 'L', 2, 0, 7, 2, 'L', 1, 0, 5, 3, 'L', 0, 0, 2, 4};
  Score original;
  for (std::size_t i = 0; i < cols.size(); ++i) original.cells[i] = static_cast<uint8_t>(cols[i]);
  ASSERT_EQ(PlayWhole(original), (Cols{0, 1, 1, 2, 1, 1, 2, 3, 0, 1, 1, 2, 1, 1, 2, 3, 4, 24, 23}));

  const Cols expected{'l', 1, 0, 'l', 1, 1, 'L', 1, 0, 5, 2, 3, 'L', 0, 0, 2, 4, 255};
  for (int click : {3, 4, 13, 15}) {
    Score score = original;
    ASSERT_TRUE(IsLoopMarkColumn(score.cells, click));
    ASSERT_TRUE(RemoveLoop(score, click)) << click;
    EXPECT_EQ(Head(score, 18), expected) << click;
    for (int p = 505; p <= 510; ++p) EXPECT_EQ(score.cells[p], kEmpty);
    EXPECT_TRUE(score.modified);
  }
  Score score = original;
  RemoveLoop(score, 3);
  EXPECT_EQ(PlayWhole(score), (Cols{0, 1, 1, 2, 3, 0, 1, 1, 2, 3, 4, 24, 23}));
}

TEST(RemoveLoop, LoopsAfterTheRemovedOneMoveBackBySixColumns) {
  Score score = TwoLoops();
  ASSERT_TRUE(RemoveLoop(score, 3));
  EXPECT_EQ(score.cells[3], 2);
  EXPECT_EQ(score.cells[12], 'l');
  EXPECT_EQ(score.cells[16], 'L');
  EXPECT_EQ(LoopTarget(score.cells, 16), 14);
}

TEST(RemoveLoop, OuterLoopWhoseBodyStartsAtTheRemovedMarkKeepsItsTarget) {
  Score score = ScoreOf({'l', 1, 'l', 1, 5, 'L', 1, 0, 4, 'L', 0, 0, 2, 6});
  ASSERT_TRUE(RemoveLoop(score, 2));
  EXPECT_EQ(Head(score, 8), (Cols{'l', 1, 5, 'L', 0, 0, 2, 6}));
  EXPECT_EQ(PlayWhole(score), (Cols{5, 5, 6, 24, 23}));
}

TEST(RemoveLoop, AMarkWithoutItsPartnerIsRemovedAlone) {
  Score start = ScoreOf({1, 'l', 2, 3});
  ASSERT_TRUE(RemoveLoop(start, 1));
  EXPECT_EQ(Head(start, 3), (Cols{1, 3, 255}));

  Score end = ScoreOf({1, 'L', 0, 0, 1, 3});
  ASSERT_TRUE(RemoveLoop(end, 2));
  EXPECT_EQ(Head(end, 3), (Cols{1, 3, 255}));

  Score plain = ScoreOf({1, 2});
  EXPECT_FALSE(RemoveLoop(plain, 0));
  EXPECT_FALSE(plain.modified);
}

}  // namespace
}  // namespace pendra2::melody
