#include "melody_ui/score_pages.h"

#include <gtest/gtest.h>

#include "score_view_support.h"

namespace pendra2::melody_ui {
namespace {

using interaction::Point;
using interaction::Rect;
using melody::Score;

// Printable width 1000 and height 1400 behind offsets 50 and 60: the background is 800
// wide (scale 800 / 606), the upper system's top at y 60 + 140, the lower one's at 60 + 770.
constexpr PageGeometry kPage{50, 60, 1100, 1520};

Score Columns(int used, int code = 9) {
  Score score;
  for (int i = 0; i < used; ++i)
    score.cells[static_cast<std::size_t>(i)] = static_cast<uint8_t>(code);
  return score;
}

std::string TextAt(const interaction::DrawList& page, Point at) {
  for (const auto& t : Items<interaction::TextItem>(page)) {
    if (t.at == at) return t.text;
  }
  return "(none)";
}

TEST(ScorePages, OnePageMoreThanTheWholePagesTheColumnsFill) {
  struct Case {
    int used;  // columns before the end mark
    int pages;
  };
  for (const Case c :
       {Case{0, 1}, Case{40, 1}, Case{41, 2}, Case{82, 2}, Case{83, 3}, Case{510, 13}}) {
    const auto pages = ScorePages(Columns(c.used), kPage);
    EXPECT_EQ(static_cast<int>(pages.size()), c.pages) << c.used;
    char counter[32];
    std::snprintf(counter, sizeof counter, "PAGE [%3d/%3d]", c.pages, c.pages);
    EXPECT_EQ(TextAt(pages.back(), {250, 172}), counter) << c.used;
    EXPECT_EQ(TextAt(pages.back(), {350, 130}), "■スコアリスト■");
  }
  EXPECT_EQ(ScorePageCount(42), 2);
}

TEST(ScorePages, AnEmptyScoreIsOneFramedPageWithNumbersAndNoMarks) {
  const auto pages = ScorePages(Score{}, kPage);
  ASSERT_EQ(pages.size(), 1u);
  const auto keys = Bitmaps(pages[0], "KEY");
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].dest, (Rect{150, 200, 950, 768}));
  EXPECT_EQ(keys[1].dest, (Rect{150, 830, 950, 1398}));
  EXPECT_EQ(Items<interaction::BitmapItem>(pages[0]).size(), 2u);  // the end mark is blank
  // Numbers under every fifth column of both systems.
  EXPECT_EQ(TextAt(pages[0], {50 + 352, 760}), "  5");
  EXPECT_EQ(TextAt(pages[0], {50 + 517, 760}), " 10");
  EXPECT_EQ(TextAt(pages[0], {50 + 319, 1390}), " 25");
  EXPECT_EQ(TextAt(pages[0], {50 + 814, 1390}), " 40");
}

TEST(ScorePages, SecondPageShowsTheColumnsFrom43OnAndCellsWithoutBarsOrPlayMarks) {
  Score score = Columns(41, 23);
  score.cells[0] = 0;
  const auto pages = ScorePages(score, kPage);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(TextAt(pages[1], {50 + 286, 760}), " 45");
  EXPECT_TRUE(Bitmaps(pages[1], "SC_ON").empty());
  EXPECT_TRUE(Bitmaps(pages[0], "BAR").empty());
  EXPECT_TRUE(Bitmaps(pages[0], "SC_PLAY").empty());
  const auto heads = Bitmaps(pages[0], "SC_ON");
  ASSERT_EQ(heads.size(), 41u);
  // The C1 head at window (81, 415), scaled by 800 / 606.
  EXPECT_EQ(heads[0].dest, (Rect{256, 747, 256 + 31, 747 + 22}));
}

TEST(ScorePages, LoopCountsStandAtTheirMarksAndCutMarksPrintParameters) {
  Score score = Columns(60);
  // A loop start at the lower system's first column of page 1, counted 7.
  score.cells[21] = melody::kLoopStart;
  score.cells[22] = 7;
  // A loop end across the systems of page 2: the mark ends the upper system, its last two
  // parameters open the lower one.
  score.cells[61] = melody::kLoopEnd;
  score.cells[62] = 0;
  score.cells[63] = 0;
  score.cells[64] = 23;
  const auto pages = ScorePages(score, kPage);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(TextAt(pages[0], {50 + 210, 60 + 1309}), "  7");
  EXPECT_EQ(Bitmaps(pages[0], "Lin").size(), 1u);
  EXPECT_EQ(Lefts(pages[1], "Lend"), std::vector<int>{150 + 732});
  EXPECT_EQ(Lefts(pages[1], "Lpara"), (std::vector<int>{150 + 765, 150 + 105, 150 + 138}));
  EXPECT_EQ(Bitmaps(pages[1], "Lpara")[1].dest.top, 830);
}

}  // namespace
}  // namespace pendra2::melody_ui
