#include "flowchart_ui/print_pages.h"

#include <gtest/gtest.h>

#include "flowchart_ui/step_row.h"
#include "view_test_support.h"

namespace pendra2::flowchart_ui {
namespace {

using namespace testing;
using ui::Point;
using ui::Rect;

// Printable width 960 (a symbol 144 wide, 1.5 device units per layout unit), height 1400,
// offsets 50 and 60: layout (x, y) lands on (146 + trunc(1.5x), 200 + trunc(1.5y)).
constexpr PageGeometry kPage{50, 60, 1060, 1520};

Point L(int x, int y) {
  return {50 + static_cast<int>(x * 1.5) + 96, 60 + static_cast<int>(y * 1.5) + 140};
}

std::vector<ui::DrawList> Pages(const FlowProgram& p) {
  return PrintPages(p, "アクティビティ図編集 [a.flc]", kPage, Ascii);
}

std::vector<Point> Segment(Point a, Point b) {
  return {a, b};
}

bool HasLine(const ui::DrawList& page, Point a, Point b) {
  for (const auto& l : Lines(page)) {
    if (l.points == Segment(a, b)) return true;
  }
  return false;
}

TEST(PrintPages, PageCountRoundsUpToWholePages) {
  EXPECT_EQ(PageCount(0), 1);
  EXPECT_EQ(PageCount(2), 1);
  EXPECT_EQ(PageCount(30), 1);
  EXPECT_EQ(PageCount(31), 2);
  EXPECT_EQ(PageCount(60), 2);
  EXPECT_EQ(PageCount(255), 9);
}

TEST(PrintPages, TwoStepsMakeOnePageWithTitleCounterAndLeftColumn) {
  const auto p = Program({});
  const auto pages = Pages(*p);
  ASSERT_EQ(pages.size(), 1u);
  const auto texts = Texts(pages[0]);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "アクティビティ図編集 [a.flc]");
  EXPECT_EQ(texts[0].at, (Point{50 + 288, 60 + 70}));
  EXPECT_EQ(texts[0].font, kTitleFont);
  EXPECT_EQ(texts[1].text, "PAGE [  1/  1]");
  EXPECT_EQ(texts[1].at, (Point{50 + 192, 60 + 112}));
  EXPECT_EQ(texts[1].font, kBodyFont);

  const auto start = Bitmaps(pages[0], "S_START");
  ASSERT_EQ(start.size(), 1u);
  const Point s = L(10, 30);
  EXPECT_EQ(start[0].dest, (Rect{s.x, s.y, s.x + 144, s.y + 72}));
  const auto end = Bitmaps(pages[0], "S_END");
  ASSERT_EQ(end.size(), 1u);
  EXPECT_EQ(end[0].dest.top, L(10, 78).y);
  EXPECT_EQ(TextsSaying(pages[0], "001:")[0].at, L(-15, 98));
}

TEST(PrintPages, ThirtyStepsFillOnePageAndTheThirtyFirstStartsTheNext) {
  const auto full = WaitProgram(30);
  const auto one = Pages(*full);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(TextsSaying(one[0], "014:")[0].at, L(-15, 48 * 14 + 50));
  EXPECT_EQ(TextsSaying(one[0], "015:")[0].at, L(-15 + 290, 50));
  EXPECT_EQ(TextsSaying(one[0], "029:")[0].at, L(-15 + 290, 48 * 14 + 50));
  EXPECT_EQ(Bitmaps(one[0], "S_END")[0].dest.left, L(10 + 290, 0).x);

  const auto longer = WaitProgram(31);
  const auto two = Pages(*longer);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(TextsSaying(two[0], "PAGE [  1/  2]").size(), 1u);
  EXPECT_EQ(TextsSaying(two[1], "PAGE [  2/  2]").size(), 1u);
  EXPECT_EQ(Bitmaps(two[1]).size(), 1u);
  EXPECT_EQ(Bitmaps(two[1], "S_END")[0].dest.top, L(0, 30).y);
  EXPECT_EQ(TextsSaying(two[1], "030:")[0].at, L(-15, 50));
}

TEST(PrintPages, SameColumnJumpsTakeLanesThreeUnitsApart) {
  auto p = WaitProgram(30);
  p->steps[2] = Step(StepKind::Goto, 7);
  p->steps[3] = Step(StepKind::Branch, 9);
  p->steps[17] = Step(StepKind::Compare, 20);
  const auto page = Pages(*p)[0];
  // Goto in row 2 to row 7: lane 135.
  const int y = 48 * 2 + 56, ty = 48 * 7 + 32;
  EXPECT_TRUE(HasLine(page, L(98, y), L(135, y)));
  EXPECT_TRUE(HasLine(page, L(135, y), L(135, ty)));
  EXPECT_TRUE(HasLine(page, L(135, ty), L(105, ty)));
  // The next one in the same column: lane 138.
  EXPECT_TRUE(HasLine(page, L(138, 48 * 3 + 56), L(138, 48 * 9 + 32)));
  // The right column has lanes of its own.
  EXPECT_TRUE(HasLine(page, L(425, 48 * 2 + 56), L(425, 48 * 5 + 32)));
  for (const auto& l : Lines(page)) EXPECT_EQ(l.width, kPrintPenWidth);
}

TEST(PrintPages, JumpToTheOtherColumnGetsConnectorCircles) {
  auto p = WaitProgram(30);
  p->steps[3] = Step(StepKind::Branch, 20);
  const auto page = Pages(*p)[0];
  const int y = 48 * 3 + 56;
  const auto circles = Bitmaps(page, "S_CIRCLE");
  ASSERT_EQ(circles.size(), 2u);
  const Point out = L(110, y - 9);
  EXPECT_EQ(circles[0].dest, (Rect{out.x, out.y, out.x + 30, out.y + 30}));
  const Point in = L(105 + 290, 48 * 5 + 22);
  EXPECT_EQ(circles[1].dest, (Rect{in.x, in.y, in.x + 30, in.y + 30}));
  // The branch's own target caption, then the two circle labels.
  const auto labels = TextsSaying(page, "020");
  ASSERT_EQ(labels.size(), 3u);
  EXPECT_EQ(labels[0].at, L(90, 48 * 3 + 62));
  EXPECT_EQ(labels[1].at, L(113, y - 4));
  EXPECT_EQ(labels[2].at, L(108 + 290, 48 * 5 + 27));
  EXPECT_TRUE(HasLine(page, L(94, y), L(110, y)));
  EXPECT_TRUE(HasLine(page, L(110, y + 1), L(105, y + 6)));
  EXPECT_TRUE(HasLine(page, L(58 + 290, 48 * 5 + 31), L(105 + 290, 48 * 5 + 31)));
  EXPECT_TRUE(HasLine(page, L(58 + 290, 48 * 5 + 32), L(63 + 290, 48 * 5 + 37)));
}

TEST(PrintPages, JumpToAnotherPageConnectsAcrossPages) {
  auto p = WaitProgram(40);
  p->steps[5] = Step(StepKind::Goto, 36);
  const auto pages = Pages(*p);
  ASSERT_EQ(pages.size(), 2u);
  // Outgoing circle beside the goto, starting at the goto's tip.
  const int y = 48 * 5 + 56;
  ASSERT_EQ(Bitmaps(pages[0], "S_CIRCLE").size(), 1u);
  EXPECT_EQ(TextsSaying(pages[0], "036")[0].at, L(40, y));  // the goto's caption
  EXPECT_EQ(TextsSaying(pages[0], "036")[1].at, L(113, y - 4));
  EXPECT_TRUE(HasLine(pages[0], L(98, y), L(110, y)));
  // Incoming circle beside step 36: page 2, left column, row 6.
  const auto in = Bitmaps(pages[1], "S_CIRCLE");
  ASSERT_EQ(in.size(), 1u);
  EXPECT_EQ((Point{in[0].dest.left, in[0].dest.top}), L(105, 48 * 6 + 22));
  EXPECT_EQ(TextsSaying(pages[1], "036")[0].at, L(108, 48 * 6 + 27));
}

TEST(PrintPages, EveryJumpToATargetDrawsItsIncomingCircle) {
  auto p = WaitProgram(12);
  p->steps[2] = Step(StepKind::Goto, 8);
  p->steps[4] = Step(StepKind::Branch, 8);
  const auto page = Pages(*p)[0];
  EXPECT_EQ(Bitmaps(page, "S_CIRCLE").size(), 2u);
  // Two captions on the jumping steps, two circle labels.
  EXPECT_EQ(TextsSaying(page, "008").size(), 4u);
}

TEST(PrintPages, OutputPortOneCaptionMovesFurtherRight) {
  const auto p = Program({Step(StepKind::Output, 0, 1, 0, 1), Step(StepKind::Output, 0, 1, 0, 2),
                          Step(StepKind::Output, 0, 1, 0, 0)});
  const auto page = Pages(*p)[0];
  EXPECT_EQ(TextsSaying(page, "出力1 ON ")[0].at, L(35, 48 + 56));
  EXPECT_EQ(TextsSaying(page, "出力2 ON ")[0].at, L(25, 96 + 56));
  EXPECT_EQ(TextsSaying(page, "LED ON ")[0].at, L(40, 144 + 56));
}

TEST(PrintPages, CaptionsMoveWithTheRowAndNoSymbolIsHighlighted) {
  auto p = WaitProgram(20);
  p->steps[16] = Step(StepKind::Wait, 0, 3);
  p->steps[17] = Step(StepKind::Branch, 2, 10, 1, 0);
  const auto page = Pages(*p)[0];
  EXPECT_EQ(TextsSaying(page, "1.5")[0].at, L(48 + 290, 48 + 58));
  EXPECT_EQ(TextsSaying(page, ">=10")[0].at, L(43 + 290, 96 + 56));
  EXPECT_EQ(TextsSaying(page, "002")[0].at, L(90 + 290, 96 + 62));
  for (const auto& b : Bitmaps(page)) EXPECT_FALSE(b.name.ends_with("_S")) << b.name;
}

}  // namespace
}  // namespace pendra2::flowchart_ui
