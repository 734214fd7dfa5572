#include "flowchart_ui/flowchart_view.h"

#include <gtest/gtest.h>

#include <climits>

#include "flowchart_ui/step_row.h"
#include "view_test_support.h"

namespace pendra2::flowchart_ui {
namespace {

using namespace testing;
using ui::Point;
using ui::Rect;

ui::DrawList View(const FlowProgram& p, int top = 0, int mode = 1, int hover = -1) {
  ViewState v;
  v.topStep = top;
  v.viewMode = mode;
  v.hoverRow = hover;
  return FlowchartView(p, v, Ascii);
}

TEST(FlowchartView, ShowsTenRowsFromTheTopStep) {
  const auto p = WaitProgram(25);
  const auto list = View(*p, 5);
  for (int n = 5; n < 15; ++n) {
    const int r = (n - 5) * 48;
    const auto number = TextsSaying(list, ThreeDigits(n) + ":");
    ASSERT_EQ(number.size(), 1u) << n;
    EXPECT_EQ(number[0].at, (Point{5, r + 60}));
    EXPECT_EQ(number[0].font, kCaptionFont);
  }
  EXPECT_TRUE(TextsSaying(list, "004:").empty());
  EXPECT_TRUE(TextsSaying(list, "015:").empty());
  const auto waits = Bitmaps(list, "S_WAIT");
  ASSERT_EQ(waits.size(), 10u);
  EXPECT_EQ(waits.front().dest, (Rect{30, 40, 126, 88}));
  EXPECT_EQ(waits.back().dest, (Rect{30, 472, 126, 520}));
}

TEST(FlowchartView, ShortProgramStartsAtRowZeroAndStopsAtItsEnd) {
  const auto p = Program({Step(StepKind::Wait, 0, 2)});
  const auto list = View(*p);
  ASSERT_EQ(Bitmaps(list, "S_START").size(), 1u);
  EXPECT_EQ(Bitmaps(list, "S_START")[0].dest, (Rect{30, 40, 126, 88}));
  EXPECT_EQ(Bitmaps(list, "S_END")[0].dest, (Rect{30, 136, 126, 184}));
  EXPECT_TRUE(TextsSaying(list, "003:").empty());
}

TEST(FlowchartView, EmptyProgramShowsOnlyBlankStrips) {
  auto p = Program({}, true);
  ViewState v;
  const auto list = FlowchartWindowPicture(*p, v, Ascii);
  // Twelve strips, two masks and ten listing strips; the size box texts.
  EXPECT_EQ(Bitmaps(list, "S_BLANK1").size(), 24u);
  EXPECT_EQ(Bitmaps(list).size(), 24u);
  EXPECT_EQ(Texts(list).size(), 2u);
  EXPECT_TRUE(Fills(list).empty());
}

TEST(FlowchartView, BlankStripsCoverTheFlowchartAndListingColumns) {
  const auto p = WaitProgram(3);
  const auto strips = Bitmaps(View(*p), "S_BLANK1");
  ASSERT_EQ(strips.size(), 24u);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(strips[i].dest, (Rect{5, -8 + 48 * i, 185, 40 + 48 * i}));
    EXPECT_EQ(strips[i].source, (Rect{0, 0, 180, 48}));
  }
  EXPECT_EQ(strips[12].dest, (Rect{5, -8, 185, 40}));
  EXPECT_EQ(strips[13].dest, (Rect{5, 520, 185, 568}));
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(strips[14 + i].dest, (Rect{180, 60 + 48 * i, 508, 108 + 48 * i}));
    EXPECT_EQ(strips[14 + i].source, (Rect{0, 0, 328, 48}));
  }
}

TEST(FlowchartView, ImageSizeBox) {
  const auto p = WaitProgram(2);
  ViewState v;
  v.imageSize = 42;
  const auto list = FlowchartWindowPicture(*p, v, Ascii);
  const auto texts = Texts(list);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "データサイズ");
  EXPECT_EQ(texts[0].at, (Point{510, 270}));
  EXPECT_EQ(texts[0].font, kSizeLabelFont);
  EXPECT_EQ(texts[1].text, "042 byte");
  EXPECT_EQ(texts[1].at, (Point{510, 290}));
  EXPECT_EQ(texts[1].font, kSizeValueFont);
}

TEST(FlowchartView, GotoLaneRunsUpwardToItsTarget) {
  auto p = WaitProgram(8);
  p->steps[5] = Step(StepKind::Goto, 2);
  for (int top : {0, 1}) {
    const auto fills = Fills(View(*p, top));
    ASSERT_EQ(fills.size(), 3u);
    const int y0 = (5 - top) * 48;
    const int targetRun = (2 - top) * 48 + 41;
    EXPECT_EQ(fills[0], (Rect{118, y0 + 65, 129, y0 + 67}));
    EXPECT_EQ(fills[1], (Rect{127, y0 + 65, 129, targetRun}));
    EXPECT_EQ(fills[2], (Rect{78, targetRun, 129, targetRun + 2}));
    const auto lines = Lines(View(*p, top));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{78, targetRun + 1}, {83, targetRun + 6}}));
    EXPECT_EQ(lines[1].points, (std::vector<Point>{{78, targetRun}, {83, targetRun - 5}}));
  }
}

TEST(FlowchartView, EachBranchingStepKeepsItsLaneWhileScrolling) {
  auto p = WaitProgram(30);
  p->steps[1] = Step(StepKind::Branch, 3);
  p->steps[2] = Step(StepKind::Compare, 4);
  p->steps[20] = Step(StepKind::VarCompare, 25);
  for (int top : {0, 15}) {
    const auto fills = Fills(View(*p, top));
    ASSERT_EQ(fills.size(), 9u);
    const Rect third = fills[7];
    EXPECT_EQ(third.left, 135);
    EXPECT_EQ(third.right, 137);
    EXPECT_EQ(third.top, (20 - top) * 48 + 65);
    EXPECT_EQ(fills[6].left, 113);  // the stub leaves a diamond, not a goto
  }
}

TEST(FlowchartView, HoverRowRedrawsTheStepWithItsHighlightedSymbol) {
  auto p = WaitProgram(12);
  p->steps[5] = Step(StepKind::Output, 0, 1, 0, 0);
  const auto list = View(*p, 3, 1, 2);
  const auto lit = Bitmaps(list, "S_TASK2_S");
  ASSERT_EQ(lit.size(), 1u);
  EXPECT_EQ(lit[0].dest, (Rect{30, 2 * 48 + 40, 126, 2 * 48 + 88}));
  // Drawn after the plain one, caption again, number only once.
  EXPECT_EQ(TextsSaying(list, "LED ON ").size(), 2u);
  EXPECT_EQ(TextsSaying(list, "005:").size(), 1u);
  EXPECT_EQ(Bitmaps(list, "S_TASK2").size(), 1u);

  EXPECT_EQ(Bitmaps(View(*p, 3, 1, -1), "S_TASK2_S").size(), 0u);
  // A hover row past the last step shows nothing highlighted.
  for (const auto& b : Bitmaps(View(*p, 3, 1, 9))) EXPECT_FALSE(b.name.ends_with("_S"));
}

TEST(FlowchartView, ViewModesChooseFlowchartListingOrBoth) {
  const auto p = WaitProgram(3);
  const auto listingCount = [](const ui::DrawList& l) {
    int n = 0;
    for (const auto& t : Texts(l)) n += t.font == kListingFont ? 1 : 0;
    return n;
  };
  const auto flowOnly = View(*p, 0, 0);
  EXPECT_EQ(listingCount(flowOnly), 0);
  EXPECT_EQ(Bitmaps(flowOnly, "S_WAIT").size(), 1u);

  for (int both : {1, 2, 3, -1}) {
    const auto list = View(*p, 0, both);
    EXPECT_EQ(listingCount(list), 3) << both;
    EXPECT_EQ(Bitmaps(list, "S_WAIT").size(), 1u) << both;
  }
  for (int listingOnly : {4, 5, 9}) {
    const auto list = View(*p, 0, listingOnly);
    EXPECT_EQ(listingCount(list), 3) << listingOnly;
    EXPECT_TRUE(Bitmaps(list, "S_WAIT").empty()) << listingOnly;
    EXPECT_EQ(Bitmaps(list, "S_BLANK1").size(), 22u) << listingOnly;
    EXPECT_TRUE(TextsSaying(list, "000:").empty());
  }
}

TEST(FlowchartView, WaitShowsHalfSecondsOnSymbolAndListing) {
  auto p = WaitProgram(6);
  p->steps[4] = Step(StepKind::Wait, 0, 3);
  const auto list = View(*p);
  const auto caption = TextsSaying(list, "1.5");
  ASSERT_EQ(caption.size(), 1u);
  EXPECT_EQ(caption[0].at, (Point{68, 4 * 48 + 68}));
  const auto line = TextsSaying(list, "  4行目:タイマー1.5秒待機");
  ASSERT_EQ(line.size(), 1u);
  EXPECT_EQ(line[0].at, (Point{180, 4 * 48 + 70}));
  EXPECT_EQ(line[0].font, kListingFont);
}

TEST(FlowchartView, CaptionsAndTargetsSitWhereEachKindPutsThem) {
  auto loop = Step(StepKind::LoopStart);
  loop.loopCount = 5;
  loop.depth = 2;
  auto p =
      Program({Step(StepKind::Output, 0, 1, 0, 0), Step(StepKind::Output, 0, 0, 0, 1),
               Step(StepKind::ExtOutput, 0, 0, 0, 5), Step(StepKind::Compare, 1, 0, 1),
               Step(StepKind::Variable, 0, 0, 6, 1), Step(StepKind::VarCompare, 2, 7, 1), loop});
  const auto list = View(*p);
  const auto at = [&](std::string_view text) {
    const auto found = TextsSaying(list, text);
    return found.empty() ? Point{-1, -1} : found[0].at;
  };
  EXPECT_EQ(at("LED ON "), (Point{60, 48 + 66}));
  EXPECT_EQ(at("出力1 OFF"), (Point{45, 2 * 48 + 66}));
  EXPECT_EQ(at("BITSET 1010"), (Point{45, 3 * 48 + 66}));
  EXPECT_EQ(at(">"), (Point{73, 4 * 48 + 60}));
  EXPECT_EQ(at("001"), (Point{110, 4 * 48 + 72}));
  EXPECT_EQ(at("B = 入力2"), (Point{50, 5 * 48 + 65}));
  EXPECT_EQ(at("A > 7"), (Point{63, 6 * 48 + 60}));
  EXPECT_EQ(at("005"), (Point{68, 7 * 48 + 66}));
  EXPECT_EQ(Bitmaps(list, "S_LOOPIN2").size(), 1u);
  EXPECT_EQ(Bitmaps(list, "S_BLANCH").size(), 1u);
  EXPECT_EQ(Bitmaps(list, "S_BLANCHA").size(), 1u);
  EXPECT_EQ(Bitmaps(list, "S_ACCM").size(), 1u);
}

TEST(FlowchartView, SymbolChoiceByChannelAndDepth) {
  auto deep = Step(StepKind::LoopEnd);
  deep.depth = 4;  // only a damaged file holds this
  auto p = Program({Step(StepKind::Branch, 1, 0, 0, 0), Step(StepKind::Branch, 1, 0, 0, 1),
                    Step(StepKind::Branch, 1, 0, 0, 7), deep, Step(static_cast<StepKind>(42))});
  const auto list = View(*p);
  EXPECT_EQ(Bitmaps(list, "S_BLANCH1")[0].dest.top, 88);
  EXPECT_EQ(Bitmaps(list, "S_BLANCH2")[0].dest.top, 136);
  EXPECT_EQ(Bitmaps(list, "S_BLANCH3")[0].dest.top, 184);
  // No symbol for the odd depth and the unknown kind, but their numbers are there.
  EXPECT_EQ(Bitmaps(list).size(), 24u + 5u);
  EXPECT_EQ(TextsSaying(list, "005:").size(), 1u);
}

TEST(FlowchartView, DamagedCountsAndTargetsStayInsideTheTable) {
  auto p = WaitProgram(4);
  p->steps[1] = Step(StepKind::Goto, INT_MAX);
  p->steps[2] = Step(StepKind::Branch, INT_MIN);
  p->count = 100000;
  const auto list = View(*p, 250);
  EXPECT_EQ(TextsSaying(list, "255:").size(), 1u);
  EXPECT_TRUE(TextsSaying(list, "256:").empty());
  for (const Rect& f : Fills(list)) {
    EXPECT_LE(std::abs(f.top), 1'000'000);
    EXPECT_LE(std::abs(f.bottom), 1'000'000);
  }
  p->count = -3;
  EXPECT_EQ(Bitmaps(View(*p, 0, 1, 0)).size(), 24u);
  p->count = 4;
  EXPECT_EQ(Bitmaps(View(*p, INT_MAX, 1, 5)).size(), 24u);
  EXPECT_EQ(Bitmaps(View(*p, INT_MIN, 1, INT_MAX)).size(), 24u);
  EXPECT_EQ(Bitmaps(View(*p, INT_MIN + 2, 1, INT_MAX)).size(), 25u);  // hovers step 1
}

}  // namespace
}  // namespace pendra2::flowchart_ui
