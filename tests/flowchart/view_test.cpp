// The flowchart window's picture and the printed pages, as draw lists.

#include "flowchart/view/flowchart_view.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <utility>

#include "flowchart/view/print_pages.h"
#include "flowchart/view/step_row.h"
#include "flowchart/view_test_support.h"

namespace pendra2::flowchart::view {
namespace {

using namespace testing;

interaction::DrawList View(const FlowProgram& p, int top = 0, int mode = 1, int hover = -1) {
  return FlowchartView(p, ViewState{mode, top, hover, 0}, Ascii);
}

TEST(FlowchartView, ShowsTenRowsFromTheTopStepBesideTheSizeBox) {
  const auto list = FlowchartWindowPicture(*WaitProgram(25), ViewState{1, 5, -1, 42}, Ascii);
  for (int n = 4; n <= 15; ++n) {
    EXPECT_EQ(Texts(list, ThreeDigits(n) + ":").size(), n >= 5 && n < 15 ? 1u : 0u) << n;
  }
  EXPECT_EQ(Texts(list, "014:").at(0).at, (Point{5, 492}));
  const auto waits = Bitmaps(list, "S_WAIT");
  ASSERT_EQ(waits.size(), 10u);
  EXPECT_EQ(waits.back().dest, (Rect{30, 472, 126, 520}));
  EXPECT_EQ(Texts(list, "データサイズ").size(), 1u);
  EXPECT_EQ(Texts(list, "042 byte").size(), 1u);
  // An empty program: only the blank strips.
  auto empty = Program({});
  empty->count = 0;
  const auto blank = View(*empty);
  EXPECT_TRUE(Texts(blank).empty());
  EXPECT_TRUE(Items<interaction::FillItem>(blank).empty());
  EXPECT_EQ(Bitmaps(blank).size(), Bitmaps(blank, "S_BLANK1").size());
}

TEST(FlowchartView, EachKindDrawsItsSymbolCaptionAndTarget) {
  auto loop = Step(StepKind::LoopStart);
  loop.loopCount = 5;
  loop.depth = 2;
  auto deep = Step(StepKind::LoopEnd);
  deep.depth = 4;  // only a damaged file holds this
  using K = StepKind;
  // Step 1's symbol, then its caption and target texts at their places in a row at r = 48.
  const std::pair<StepRecord, std::string> cases[] = {
      {Step(K::Wait, 0, 3), "S_WAIT 1.5@68,116"},
      {loop, "S_LOOPIN2 005@68,114"},
      {Step(K::Branch, 1, 0, 0, 0), "S_BLANCH1 <0@63,114 001@110,120"},
      {Step(K::Branch, 1, 9, 1, 1), "S_BLANCH2 >=9@63,114 001@110,120"},
      {Step(K::Branch, 1, 0, 0, 7), "S_BLANCH3 <0@63,114 001@110,120"},
      {Step(K::Output, 0, 1, 0, 0), "S_TASK2 LED ON @60,114"},
      {Step(K::Output, 0, 0, 0, 1), "S_TASK2 出力1 OFF@45,114"},
      {Step(K::Goto, 3), "S_GOTO 003@60,114"},
      {Step(K::ExtOutput, 0, 0, 0, 5), "S_TASK2 BITSET 1010@45,114"},
      {Step(K::Compare, 2, 0, 1), "S_BLANCH >@73,108 002@110,120"},
      {Step(K::Variable, 0, 0, 6, 1), "S_ACCM B = 入力2@50,113"},
      {Step(K::VarCompare, 2, 7, 1), "S_BLANCHA A > 7@63,108 002@110,120"},
      {deep, ""},
      {Step(static_cast<K>(42)), ""},
  };
  for (const auto& [step, expected] : cases) {
    const auto list = View(*Program({step}));
    std::string shown;
    for (const auto& b : Bitmaps(list)) {
      if (b.dest == Rect{30, 88, 126, 136}) shown += b.name;
    }
    for (const auto& t : Texts(list)) {
      if (t.font != kCaptionFont || t.text.ends_with(':')) continue;
      shown += " " + t.text + "@" + std::to_string(t.at.x) + "," + std::to_string(t.at.y);
    }
    EXPECT_EQ(shown, expected) << "kind " << step.kind;
  }
}

TEST(FlowchartView, ViewModesChooseFlowchartListingOrBoth) {
  const auto p = WaitProgram(3);
  for (int mode : {0, 1, 2, 3, -1, 4, 5, 9}) {
    SCOPED_TRACE(mode);
    const auto list = View(*p, 0, mode);
    const bool flowchart = mode <= 3, listing = mode != 0;
    EXPECT_EQ(Bitmaps(list, "S_WAIT").size(), flowchart ? 1u : 0u);
    EXPECT_EQ(Bitmaps(list, "S_BLANK1").size(), flowchart ? 24u : 22u);
    int listed = 0;
    for (const auto& t : Texts(list)) listed += t.font == kListingFont;
    EXPECT_EQ(listed, listing ? 3 : 0);
    EXPECT_EQ(Texts(list, "  1行目:タイマー1.0秒待機").size(), listing ? 1u : 0u);
  }
}

TEST(FlowchartView, HoverRowRedrawsTheStepWithItsHighlightedSymbol) {
  auto p = WaitProgram(12);
  p->steps[5] = Step(StepKind::Output, 0, 1, 0, 0);
  const auto list = View(*p, 3, 1, 2);
  EXPECT_EQ(Bitmaps(list, "S_TASK2_S").at(0).dest, (Rect{30, 136, 126, 184}));
  // Drawn over the plain one, caption again, number only once.
  EXPECT_EQ(Bitmaps(list, "S_TASK2").size(), 1u);
  EXPECT_EQ(Texts(list, "LED ON ").size(), 2u);
  EXPECT_EQ(Texts(list, "005:").size(), 1u);
  for (int hover : {-1, 9}) {  // none, and a row past the last step
    for (const auto& b : Bitmaps(View(*p, 3, 1, hover))) EXPECT_FALSE(b.name.ends_with("_S"));
  }
}

TEST(FlowchartView, EachJumpKeepsItsLaneWhileScrollingAndRunsUpToItsTarget) {
  auto p = WaitProgram(30);
  p->steps[1] = Step(StepKind::Branch, 3);
  p->steps[2] = Step(StepKind::Compare, 4);
  p->steps[20] = Step(StepKind::Goto, 17);
  for (int top : {0, 15}) {
    SCOPED_TRACE(top);
    const auto fills = Items<interaction::FillItem>(View(*p, top));
    ASSERT_EQ(fills.size(), 9u);
    const int y0 = (20 - top) * 48, run = (17 - top) * 48 + 41;
    EXPECT_EQ(fills[6].rect, (Rect{118, y0 + 65, 137, y0 + 67}));
    EXPECT_EQ(fills[7].rect, (Rect{135, y0 + 65, 137, run}));
    EXPECT_EQ(fills[8].rect, (Rect{78, run, 137, run + 2}));
  }
}

TEST(FlowchartView, DamagedCountsTargetsAndRowsStayInsideTheTable) {
  auto p = WaitProgram(4);
  p->steps[1] = Step(StepKind::Goto, INT_MAX);
  p->steps[2] = Step(StepKind::Branch, INT_MIN);
  p->count = 100000;
  const auto list = View(*p, 250);
  EXPECT_EQ(Texts(list, "255:").size(), 1u);
  EXPECT_TRUE(Texts(list, "256:").empty());
  for (const auto& f : Items<interaction::FillItem>(list)) {
    EXPECT_LE(std::abs(f.rect.top), 1'000'000);
    EXPECT_LE(std::abs(f.rect.bottom), 1'000'000);
  }
  p->count = -3;
  EXPECT_EQ(Bitmaps(View(*p, 0, 1, 0)).size(), 24u);
  p->count = 4;
  EXPECT_EQ(Bitmaps(View(*p, INT_MAX, 1, 5)).size(), 24u);
  EXPECT_EQ(Bitmaps(View(*p, INT_MIN, 1, INT_MAX)).size(), 24u);
  EXPECT_EQ(Bitmaps(View(*p, INT_MIN + 2, 1, INT_MAX)).size(), 25u);  // hovers step 1
}

// Printable width 960 (a symbol 144 wide, 1.5 device units per layout unit), height 1400,
// offsets 50 and 60: layout (x, y) lands on (146 + trunc(1.5x), 200 + trunc(1.5y)).
constexpr PageGeometry kPage{50, 60, 1060, 1520};

Point L(int x, int y) {
  return {146 + static_cast<int>(x * 1.5), 200 + static_cast<int>(y * 1.5)};
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
  EXPECT_EQ(std::tuple(PageCount(0), PageCount(30), PageCount(255)), std::tuple(1, 1, 9));
  const auto pages = Pages(*WaitProgram(31));
  ASSERT_EQ(pages.size(), 2u);
  const auto texts = Texts(pages[0]);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "アクティビティ図編集 [a.flc]");
  EXPECT_EQ(texts[1].text, "PAGE [  1/  2]");
  EXPECT_EQ(Bitmaps(pages[0], "S_START").at(0).dest, (Rect{161, 245, 305, 317}));
  EXPECT_EQ(Texts(pages[0], "014:").at(0).at, L(-15, 48 * 14 + 50));
  EXPECT_EQ(Texts(pages[0], "015:").at(0).at, L(-15 + 290, 50));
  // The second page holds only the end step.
  EXPECT_EQ(Texts(pages[1], "PAGE [  2/  2]").size(), 1u);
  EXPECT_EQ(Bitmaps(pages[1]).size(), 1u);
  EXPECT_EQ(Bitmaps(pages[1], "S_END").size(), 1u);
}

TEST(PrintPages, SameColumnJumpsTakeLanesThreeUnitsApart) {
  auto p = WaitProgram(30);
  p->steps[2] = Step(StepKind::Goto, 7);
  p->steps[3] = Step(StepKind::Branch, 9);
  p->steps[17] = Step(StepKind::Compare, 20);
  const auto page = Pages(*p)[0];
  EXPECT_TRUE(HasLine(page, L(135, 48 * 2 + 56), L(135, 48 * 7 + 32)));
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
  EXPECT_EQ(circles[3].dest.left, L(105 + 290, 0).x);
  // The branch's own target caption, then the two circle labels.
  const auto labels = Texts(pages[0], "020");
  ASSERT_EQ(labels.size(), 3u);
  EXPECT_EQ(labels[1].at, L(113, y - 4));
  EXPECT_EQ(labels[2].at, L(108 + 290, yt + 27));
  EXPECT_TRUE(HasLine(pages[0], L(98, y + 96), L(110, y + 96)));  // from a goto's tip
  // Beside step 36 on the next page, once for each jump.
  EXPECT_EQ(Bitmaps(pages[1], "S_CIRCLE").size(), 2u);
  EXPECT_EQ(Texts(pages[1], "036").at(0).at, L(108, 48 * 6 + 27));
}

}  // namespace
}  // namespace pendra2::flowchart::view
