#include "flowchart_ui/print_pages.h"

#include <gtest/gtest.h>

#include "view_test_support.h"

namespace pendra2::flowchart_ui {
namespace {

using namespace testing;

// Printable width 960 (a symbol 144 wide, 1.5 device units per layout unit), height 1400,
// offsets 50 and 60: layout (x, y) lands on (146 + trunc(1.5x), 200 + trunc(1.5y)).
constexpr PageGeometry kPage{50, 60, 1060, 1520};

Point L(int x, int y) {
  return {146 + static_cast<int>(x * 1.5), 200 + static_cast<int>(y * 1.5)};
}

// A symbol (144 x 72) or a connector circle (30 x 30) placed at `at`.
Rect Box(Point at, bool circle = false) {
  return {at.x, at.y, at.x + (circle ? 30 : 144), at.y + (circle ? 30 : 72)};
}

std::vector<interaction::DrawList> Pages(const FlowProgram& p) {
  return PrintPages(p, "アクティビティ図編集 [a.flc]", kPage, Ascii);
}

bool HasLine(const interaction::DrawList& page, Point a, Point b) {
  for (const auto& l : Items<interaction::LineItem>(page)) {
    if (l.points == std::vector<Point>{a, b} && l.width == kPrintPenWidth) return true;
  }
  return false;
}

TEST(PrintPages, PagesHoldThirtyStepsInTwoColumnsUnderTitleAndCounter) {
  EXPECT_EQ(PageCount(0), 1);
  EXPECT_EQ(PageCount(30), 1);
  EXPECT_EQ(PageCount(255), 9);
  const auto pages = Pages(*WaitProgram(31));
  ASSERT_EQ(pages.size(), 2u);
  const auto texts = Texts(pages[0]);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "アクティビティ図編集 [a.flc]");
  EXPECT_EQ(texts[0].at, (Point{50 + 288, 60 + 70}));
  EXPECT_EQ(texts[0].font, kTitleFont);
  EXPECT_EQ(texts[1].text, "PAGE [  1/  2]");
  EXPECT_EQ(texts[1].at, (Point{50 + 192, 60 + 112}));
  EXPECT_EQ(texts[1].font, kBodyFont);
  EXPECT_EQ(Bitmaps(pages[0], "S_START").at(0).dest, Box(L(10, 30)));
  EXPECT_EQ(Bitmaps(pages[0], "S_WAIT").at(0).dest, Box(L(10, 78)));
  EXPECT_EQ(Texts(pages[0], "001:").at(0).at, L(-15, 98));
  EXPECT_EQ(Texts(pages[0], "014:").at(0).at, L(-15, 48 * 14 + 50));
  EXPECT_EQ(Texts(pages[0], "015:").at(0).at, L(-15 + 290, 50));
  EXPECT_EQ(Bitmaps(pages[0], "S_WAIT").at(28).dest, Box(L(10 + 290, 48 * 14 + 30)));
  // The second page holds only the end step.
  EXPECT_EQ(Texts(pages[1], "PAGE [  2/  2]").size(), 1u);
  EXPECT_EQ(Bitmaps(pages[1]).size(), 1u);
  EXPECT_EQ(Bitmaps(pages[1], "S_END").at(0).dest, Box(L(10, 30)));
}

TEST(PrintPages, SameColumnJumpsTakeLanesThreeUnitsApart) {
  auto p = WaitProgram(30);
  p->steps[2] = Step(StepKind::Goto, 7);
  p->steps[3] = Step(StepKind::Branch, 9);
  p->steps[17] = Step(StepKind::Compare, 20);
  const auto page = Pages(*p)[0];
  const int y = 48 * 2 + 56, ty = 48 * 7 + 32;
  EXPECT_TRUE(HasLine(page, L(98, y), L(135, y)));
  EXPECT_TRUE(HasLine(page, L(135, y), L(135, ty)));
  EXPECT_TRUE(HasLine(page, L(135, ty), L(105, ty)));
  EXPECT_TRUE(HasLine(page, L(138, 48 * 3 + 56), L(138, 48 * 9 + 32)));
  EXPECT_TRUE(HasLine(page, L(425, 48 * 2 + 56), L(425, 48 * 5 + 32)));  // lanes of its own
}

TEST(PrintPages, JumpsOutOfTheirColumnGetLabelledCirclesAtBothEnds) {
  auto p = WaitProgram(40);
  p->steps[3] = Step(StepKind::Branch, 20);  // to the right column
  p->steps[5] = Step(StepKind::Goto, 36);    // to the next page, as does
  p->steps[7] = Step(StepKind::Branch, 36);
  const auto pages = Pages(*p);
  ASSERT_EQ(pages.size(), 2u);
  const int y = 48 * 3 + 56, yt = 48 * 5;
  const auto circles = Bitmaps(pages[0], "S_CIRCLE");
  ASSERT_EQ(circles.size(), 4u);  // three outgoing, one incoming
  EXPECT_EQ(circles[0].dest, Box(L(110, y - 9), true));
  EXPECT_EQ(circles[3].dest, Box(L(105 + 290, yt + 22), true));
  // The branch's own target caption, then the two circle labels.
  const auto labels = Texts(pages[0], "020");
  ASSERT_EQ(labels.size(), 3u);
  EXPECT_EQ(labels[0].at, L(90, 48 * 3 + 62));
  EXPECT_EQ(labels[1].at, L(113, y - 4));
  EXPECT_EQ(labels[2].at, L(108 + 290, yt + 27));
  EXPECT_TRUE(HasLine(pages[0], L(94, y), L(110, y)));
  EXPECT_TRUE(HasLine(pages[0], L(98, y + 96), L(110, y + 96)));  // from a goto's tip
  EXPECT_TRUE(HasLine(pages[0], L(110, y + 1), L(105, y + 6)));
  EXPECT_TRUE(HasLine(pages[0], L(58 + 290, yt + 31), L(105 + 290, yt + 31)));
  EXPECT_TRUE(HasLine(pages[0], L(58 + 290, yt + 32), L(63 + 290, yt + 37)));
  // Beside step 36 on the next page, once for each jump.
  const auto in = Bitmaps(pages[1], "S_CIRCLE");
  ASSERT_EQ(in.size(), 2u);
  EXPECT_EQ(in[0].dest, Box(L(105, 48 * 6 + 22), true));
  EXPECT_EQ(in[1].dest, in[0].dest);
  EXPECT_EQ(Texts(pages[1], "036").at(0).at, L(108, 48 * 6 + 27));
}

TEST(PrintPages, CaptionsMoveWithTheRowAndNoSymbolIsHighlighted) {
  auto p = WaitProgram(20);
  p->steps[1] = Step(StepKind::Output, 0, 1, 0, 1);
  p->steps[2] = Step(StepKind::Output, 0, 1, 0, 2);
  p->steps[3] = Step(StepKind::Output, 0, 1, 0, 0);
  p->steps[17] = Step(StepKind::Branch, 2, 10, 1, 0);
  const auto page = Pages(*p)[0];
  // Paper gives the first output port's caption 10 units more than the screen does.
  EXPECT_EQ(Texts(page, "出力1 ON ").at(0).at, L(35, 48 + 56));
  EXPECT_EQ(Texts(page, "出力2 ON ").at(0).at, L(25, 96 + 56));
  EXPECT_EQ(Texts(page, "LED ON ").at(0).at, L(40, 144 + 56));
  EXPECT_EQ(Texts(page, ">=10").at(0).at, L(43 + 290, 96 + 56));
  EXPECT_EQ(Texts(page, "002").at(0).at, L(90 + 290, 96 + 62));
  for (const auto& b : Bitmaps(page)) EXPECT_FALSE(b.name.ends_with("_S")) << b.name;
}

}  // namespace
}  // namespace pendra2::flowchart_ui
