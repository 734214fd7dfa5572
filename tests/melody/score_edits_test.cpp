#include "melody/score_edits.h"

#include <gtest/gtest.h>

#include "helpers.h"

namespace pendra2::melody {
namespace {

using namespace testing;

TEST(GridInput, GeometryAndCountFields) {
  const std::array<int, 3> columns[] = {{81, 0, 0},      {104, 0, 0}, {105, 3, 4},
                                        {604, 490, 510}, {80, 0, -1}, {605, 0, -1}};
  for (const auto& [x, scroll, column] : columns)
    EXPECT_EQ(GridColumn(x, scroll).value_or(-1), column) << x;
  EXPECT_EQ(GridRowCode(0), 23);
  EXPECT_EQ(GridRowCode(431), 0);
  EXPECT_EQ(GridRowCode(432), std::nullopt);

  const std::tuple<const char*, int, int> fields[] = {
      {"1", 256, 1},   {" 12 ", 256, 12}, {"999", 256, 256}, {"-3", 256, 256},       {"", 256, 0},
      {"abc", 256, 0}, {"4x", 255, 0},    {"300", 255, 255}, {"99999999999", 255, 0}};
  for (const auto& [text, max, count] : fields) EXPECT_EQ(CountFromField(text, max), count) << text;
}

TEST(GridInput, ClicksOnMarksAndTheirParameters) {
  Score score = ScoreOf("1 l 3 2 L 0 0 3 4");
  using enum GridClick;
  const GridClick kinds[] = {kNote,          kLoopCount,     kParameterCell, kNote, kLoopJump,
                             kParameterCell, kParameterCell, kParameterCell, kNote};
  for (int n = 0; n < 9; ++n) EXPECT_EQ(ClassifyGridClick(score.cells, n), kinds[n]) << n;
  SetLoopCount(score, 1, 300);
  EXPECT_EQ(score.cells[2], 255);
}

TEST(ColumnEdits, InsertDeleteAndRemoveLoopKeepLoopTargetsRight) {
  constexpr const char* kTwo = "1 1 1 l 1 2 2 L 0 0 5 3 3 3 3 3 3 3 l 1 4 4 L 0 0 20 6";
  // outer: A [ inner: [ innermost: B ] C ] D, then E
  constexpr const char* kNested = "l 1 0 l 1 l 1 1 L 2 0 7 2 L 1 0 5 3 L 0 0 2 4";
  constexpr const char* kUnnested = "l 1 0 l 1 1 L 1 0 5 2 3 L 0 0 2 4 -";
  ASSERT_EQ(PlayWhole(ScoreOf(kNested)), C("0 1 1 2 1 1 2 3 0 1 1 2 1 1 2 3 4 24 23"));
  // before, operation (i k: insert k, d k: delete k, r: remove loop), column, k, after, played
  const std::tuple<const char*, char, int, int, const char*, const char*> edits[] = {
      // Inside a loop-end mark's columns the new columns go in before the mark.
      {kTwo, 'i', 10, 3, "1 1 1 l 1 2 2 - - - L 0 0 5 3 3 3 3 3 3 3 l 1 4 4 L 0 0 23 6", ""},
      {kTwo, 'i', 12, 3, "1 1 1 l 1 2 2 L 0 0 5 3 - - - 3 3 3 3 3 3 l 1 4 4 L 0 0 23 6", ""},
      // At the first body column the new column joins the body.
      {"l 1 2 L 0 0 2 4", 'i', 2, 1, "l 1 - 2 L 0 0 2 4", "23 2 23 2 4 24 23"},
      // A loop start met at the point is stepped over.
      {"1 5 l 2 7 8 L 0 0 4 9", 'd', 1, 2, "1 l 2 8 L 0 0 3 9 -", "1 8 8 8 9 24 23"},
      {kTwo, 'd', 12, 2, "1 1 1 l 1 2 2 L 0 0 5 3 3 3 3 3 l 1 4 4 L 0 0 18 6 -", ""},
      {"l 1 2 3 L 0 0 2 4", 'd', 2, 1, "l 1 3 L 0 0 2 4 -", "3 3 4 24 23"},
      {"l 1 2 L 0 0 2 4 5", 'd', 5, 1, "l 1 2 L 0 0 2 5 -", ""},
      // Loops after the removed one move back by six columns.
      {kTwo, 'r', 3, 0, "1 1 1 2 2 3 3 3 3 3 3 3 l 1 4 4 L 0 0 14 6 -", ""},
      {kNested, 'r', 3, 0, kUnnested, "0 1 1 2 3 0 1 1 2 3 4 24 23"},
      {kNested, 'r', 4, 0, kUnnested, ""},
      {kNested, 'r', 13, 0, kUnnested, ""},
      {kNested, 'r', 15, 0, kUnnested, ""},
      // An outer loop whose body starts at the removed mark keeps its target.
      {"l 1 l 1 5 L 1 0 4 L 0 0 2 6", 'r', 2, 0, "l 1 5 L 0 0 2 6 -", "5 5 6 24 23"},
      // A mark without its partner goes alone.
      {"1 l 2 3", 'r', 1, 0, "1 3 -", ""},
      {"1 L 0 0 1 3", 'r', 2, 0, "1 3 -", ""},
  };
  for (const auto& [before, op, column, k, after, played] : edits) {
    SCOPED_TRACE(::testing::Message() << op << " at " << column << " of " << before);
    Score score = ScoreOf(before);
    if (op == 'i') InsertColumns(score, column, k);
    if (op == 'd') DeleteColumns(score, column, k);
    if (op == 'r') {
      ASSERT_TRUE(IsLoopMarkColumn(score.cells, column));
      ASSERT_TRUE(RemoveLoop(score, column));
    }
    EXPECT_EQ(Head(score, C(after).size()), C(after));
    EXPECT_EQ(Cols(score.cells.begin() + 505, score.cells.end()), Cols(7, kEmpty));
    EXPECT_TRUE(score.modified);
    if (*played) {
      EXPECT_EQ(PlayWhole(score), C(played));
    }
  }
  Score plain = ScoreOf("1 2");
  EXPECT_FALSE(RemoveLoop(plain, 0));
  EXPECT_FALSE(plain.modified);
}

TEST(ColumnEdits, ColumnsPushedPastTheEndAreLostOutOfRangeEditsAreSafe) {
  Score score;
  score.cells[509] = 5;
  score.cells[510] = 6;
  score.cells[511] = 7;
  InsertColumns(score, 505, 256);
  EXPECT_EQ(Cols(score.cells.begin() + 510, score.cells.end()), Cols(2, kEmpty));
  InsertColumns(score, 0, 1);
  InsertColumns(score, 511, 1);  // outside the editable columns: ignored
  score = ScoreOf("l 1 2 L 0 0 2 4");
  DeleteColumns(score, 0, 300);
  EXPECT_EQ(score.cells[0], 'l');
}

}  // namespace
}  // namespace pendra2::melody
