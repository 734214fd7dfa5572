#include "flowchart_ui/flowchart_view.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "flowchart_ui/step_row.h"
#include "view_test_support.h"

namespace pendra2::flowchart_ui {
namespace {

using namespace testing;

interaction::DrawList View(const FlowProgram& p, int top = 0, int mode = 1, int hover = -1) {
  return FlowchartView(p, ViewState{mode, top, hover, 0}, Ascii);
}

int TextsIn(const interaction::DrawList& list, interaction::FontSpec font) {
  int n = 0;
  for (const auto& t : Texts(list)) n += t.font == font;
  return n;
}

TEST(FlowchartView, ShowsTenRowsFromTheTopStep) {
  const auto list = View(*WaitProgram(25), 5);
  for (int n = 5; n < 15; ++n) {
    const auto number = Texts(list, ThreeDigits(n) + ":");
    ASSERT_EQ(number.size(), 1u) << n;
    EXPECT_EQ(number[0].at, (Point{5, (n - 5) * 48 + 60}));
    EXPECT_EQ(number[0].font, kCaptionFont);
  }
  EXPECT_TRUE(Texts(list, "004:").empty());
  EXPECT_TRUE(Texts(list, "015:").empty());
  const auto waits = Bitmaps(list, "S_WAIT");
  ASSERT_EQ(waits.size(), 10u);
  EXPECT_EQ(waits.back().dest, (Rect{30, 472, 126, 520}));
}

TEST(FlowchartView, EmptyProgramShowsOnlyBlankStripsAndTheSizeBox) {
  auto p = Program({});
  p->count = 0;
  const auto list = FlowchartWindowPicture(*p, ViewState{1, 0, -1, 42}, Ascii);
  const auto texts = Texts(list);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "データサイズ");
  EXPECT_EQ(texts[0].at, (Point{510, 270}));
  EXPECT_EQ(texts[0].font, kSizeLabelFont);
  EXPECT_EQ(texts[1].text, "042 byte");
  EXPECT_EQ(texts[1].at, (Point{510, 290}));
  EXPECT_EQ(texts[1].font, kSizeValueFont);
  EXPECT_TRUE(Items<interaction::FillItem>(list).empty());
  // Twelve flowchart strips, the two masks, then ten listing strips.
  const auto strips = Bitmaps(list, "S_BLANK1");
  ASSERT_EQ(strips.size(), Bitmaps(list).size());
  ASSERT_EQ(strips.size(), 24u);
  for (int i = 0; i < 24; ++i) {
    const int y = i < 12 ? -8 + 48 * i : i == 12 ? -8 : i == 13 ? 520 : 60 + 48 * (i - 14);
    const Rect dest = i < 14 ? Rect{5, y, 185, y + 48} : Rect{180, y, 508, y + 48};
    EXPECT_EQ(strips[i].dest, dest) << i;
    EXPECT_EQ(strips[i].source, (Rect{0, 0, dest.Width(), 48})) << i;
  }
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
    EXPECT_EQ(TextsIn(list, kListingFont), listing ? 3 : 0);
    if (listing) {
      EXPECT_EQ(Texts(list, "  1行目:タイマー1.0秒待機").at(0).at, (Point{180, 118}));
    }
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
    const auto list = View(*p, top);
    const auto fills = Items<interaction::FillItem>(list);
    const auto lines = Items<interaction::LineItem>(list);
    ASSERT_EQ(fills.size(), 9u);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(fills[0].rect.left, 113);  // a diamond's stub
    const int y0 = (20 - top) * 48, run = (17 - top) * 48 + 41;
    EXPECT_EQ(fills[6].rect, (Rect{118, y0 + 65, 137, y0 + 67}));
    EXPECT_EQ(fills[7].rect, (Rect{135, y0 + 65, 137, run}));
    EXPECT_EQ(fills[8].rect, (Rect{78, run, 137, run + 2}));
    EXPECT_EQ(lines[4].points, (std::vector<Point>{{78, run + 1}, {83, run + 6}}));
    EXPECT_EQ(lines[5].points, (std::vector<Point>{{78, run}, {83, run - 5}}));
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

}  // namespace
}  // namespace pendra2::flowchart_ui
