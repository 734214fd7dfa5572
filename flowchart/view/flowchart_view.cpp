#include "flowchart/view/flowchart_view.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "flowchart/view/step_row.h"

namespace pendra2::flowchart::view {
namespace {

constexpr char kBlank[] = "S_BLANK1";
constexpr interaction::Rect kFlowStripSource{0, 0, 180, 48};
constexpr interaction::Rect kListingStripSource{0, 0, 328, 48};

// A file may claim any count; only the table's slots exist.
int StepCount(const FlowProgram& program) {
  return std::clamp<int>(program.count, 0, kStepSlots);
}

// Targets come from files and may be anything; lines far outside the window are clipped
// anyway, so positions are kept in a range where the arithmetic cannot overflow.
int Bounded(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, -1'000'000, 1'000'000));
}

void FlowStrip(interaction::DrawList& list, int y) {
  list.Bitmap(kBlank, {5, y, 5 + 180, y + 48}, kFlowStripSource);
}

void RowPieces(interaction::DrawList& list, const StepRecord& step, int r, bool highlighted,
               const ShiftJisDecoder& decode) {
  const StepRow row = StepRowFor(step, highlighted, decode);
  if (!row.symbol.empty()) {
    list.Bitmap(row.symbol, {kSymbolLeft, r + kRowsTop, kSymbolLeft + kSymbolWidth,
                             r + kRowsTop + kSymbolHeight});
  }
  if (!row.caption.text.empty()) {
    list.Text({row.caption.at.x, r + row.caption.at.y}, kCaptionFont, row.caption.text);
  }
  if (!row.target.text.empty()) {
    list.Text({row.target.at.x, r + row.target.at.y}, kCaptionFont, row.target.text);
  }
}

// The running step's row from the top, or -1 when it is not in view.
int RunningRow(const FlowProgram& program, const ViewState& view) {
  if (view.runningStep < 0 || view.runningStep >= StepCount(program)) return -1;
  const int64_t c = int64_t{view.runningStep} - view.topStep;
  return c >= 0 && c < kVisibleRows ? static_cast<int>(c) : -1;
}

// Behind the running step's row, under its symbol and lanes.
void RunningBand(interaction::DrawList& list, const FlowProgram& program, const ViewState& view) {
  const int c = RunningRow(program, view);
  if (c < 0) return;
  const int r = c * kRowHeight;
  list.Fill({2, r + kRowsTop + 1, 178, r + kRowsTop + kRowHeight - 1}, kRunningBand);
}

// Behind the selected steps' rows and listing lines.
void SelectionBands(interaction::DrawList& list, const FlowProgram& program, const ViewState& view,
                    bool listing) {
  if (view.selectFirst < 0 || view.selectLast < view.selectFirst) return;
  const int count = StepCount(program);
  for (int n = std::max(view.selectFirst, view.topStep);
       n <= view.selectLast && n < count && n < int64_t{view.topStep} + kVisibleRows; ++n) {
    const int r = (n - view.topStep) * kRowHeight;
    if (listing) {
      list.Fill({182, r + 64, 506, r + 90}, kSelectedBand);
    } else {
      list.Fill({2, r + kRowsTop + 1, 178, r + kRowsTop + kRowHeight - 1}, kSelectedBand);
    }
  }
}

// Around each selected symbol, over its white box, so the selection reads as one block.
void SelectionFrames(interaction::DrawList& list, const FlowProgram& program,
                     const ViewState& view) {
  if (view.selectFirst < 0 || view.selectLast < view.selectFirst) return;
  const int count = StepCount(program);
  for (int n = std::max(view.selectFirst, view.topStep);
       n <= view.selectLast && n < count && n < int64_t{view.topStep} + kVisibleRows; ++n) {
    const int top = (n - view.topStep) * kRowHeight + kRowsTop + 1;
    const int bottom = top + kSymbolHeight - 2;
    const int left = kSymbolLeft + 1;
    const int right = kSymbolLeft + kSymbolWidth - 1;
    list.Line({{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}}, 3,
              kSelectedFrame);
  }
}

// Around the running step's symbol, over the hover highlight, and its arrow.
void RunningFrame(interaction::DrawList& list, const FlowProgram& program, const ViewState& view) {
  const int c = RunningRow(program, view);
  if (c < 0) return;
  const int top = c * kRowHeight + kRowsTop + 1;
  const int bottom = top + kSymbolHeight - 2;
  const int left = kSymbolLeft + 1;
  const int right = kSymbolLeft + kSymbolWidth - 1;
  list.Line({{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}}, 3,
            kRunningFrame);
  list.Bitmap("S_RUNNING", {16, top + 4, 30, top + 18});
}

void Rows(interaction::DrawList& list, const FlowProgram& program, const ViewState& view,
          const ShiftJisDecoder& decode) {
  const int count = StepCount(program);
  const int first = view.topStep;
  for (int n = std::max(first, 0); n < int64_t{first} + kVisibleRows && n < count; ++n) {
    const int r = (n - first) * kRowHeight;
    list.Text({5, r + 60}, kCaptionFont, ThreeDigits(n) + ":");
    if (view.breakpoints[static_cast<std::size_t>(n)]) {
      list.Bitmap("S_BREAK", {2, r + kRowsTop + 5, 16, r + kRowsTop + 19});
    }
    RowPieces(list, program.steps[n], r, false, decode);
  }
}

void Highlight(interaction::DrawList& list, const FlowProgram& program, const ViewState& view,
               const ShiftJisDecoder& decode) {
  const int c = view.hoverRow;
  if (c < 0) return;
  const int64_t n = int64_t{view.topStep} + c;
  if (n < 0 || n >= StepCount(program)) return;
  RowPieces(list, program.steps[n], Bounded(int64_t{c} * kRowHeight), true, decode);
}

void BranchLines(interaction::DrawList& list, const FlowProgram& program, const ViewState& view) {
  const int count = StepCount(program);
  int lane = 0;
  for (int n = 0; n < count; ++n) {
    const StepRecord& step = program.steps[n];
    if (!IsJump(step)) continue;
    const int64_t y0 = (int64_t{n} - view.topStep) * kRowHeight;
    const int64_t d = int64_t{kRowHeight} * (int64_t{step.target} - n - 1);
    const int x0 = step.Is(StepKind::Goto) ? 118 : 113;
    const int laneRight = 129 + 4 * lane;
    const int laneLeft = 127 + 4 * lane;
    const int stubTop = Bounded(y0 + 65);
    const int runEnd = Bounded(y0 + d + 89);
    list.Fill({x0, stubTop, laneRight, Bounded(y0 + 67)});
    list.Fill({laneLeft, stubTop, laneRight, runEnd});
    list.Fill({78, runEnd, laneRight, Bounded(y0 + d + 91)});
    list.Line({{78, Bounded(y0 + d + 90)}, {83, Bounded(y0 + d + 95)}});
    list.Line({{78, runEnd}, {83, Bounded(y0 + d + 84)}});
    ++lane;
  }
}

void Listing(interaction::DrawList& list, const FlowProgram& program, const ViewState& view,
             int32_t mode, const ShiftJisDecoder& decode) {
  for (int i = 0; i < kVisibleRows; ++i) {
    const int y = 60 + i * kRowHeight;
    list.Bitmap(kBlank, {180, y, 180 + 328, y + 48}, kListingStripSource);
  }
  if (mode == 0) return;
  SelectionBands(list, program, view, true);
  if (const int c = RunningRow(program, view); c >= 0) {
    list.Fill({182, c * kRowHeight + 64, 506, c * kRowHeight + 90}, kRunningBand);
  }
  const int count = StepCount(program);
  const int first = view.topStep;
  for (int n = std::max(first, 0); n < int64_t{first} + kVisibleRows && n < count; ++n) {
    std::string line = ListingLine(n, program.steps[n], Notation::Japanese, decode);
    if (!line.empty()) list.Text({180, (n - first) * kRowHeight + 70}, kListingFont, line);
  }
}

}  // namespace

int32_t EffectiveViewMode(int32_t viewMode) {
  if (viewMode > 3) return 4;
  if (viewMode == 0) return 0;
  return 1;
}

interaction::DrawList FlowchartView(const FlowProgram& program, const ViewState& view,
                                    const ShiftJisDecoder& decode) {
  interaction::DrawList list;
  const int32_t mode = EffectiveViewMode(view.viewMode);
  for (int y = -8; y <= 520; y += kRowHeight) FlowStrip(list, y);
  if (mode != 4) {
    SelectionBands(list, program, view, false);
    RunningBand(list, program, view);
    Rows(list, program, view, decode);
    Highlight(list, program, view, decode);
    SelectionFrames(list, program, view);
    RunningFrame(list, program, view);
    BranchLines(list, program, view);
    // Lanes run on past the first and last rows; these strips cut them off there.
    FlowStrip(list, -8);
    FlowStrip(list, 520);
  }
  Listing(list, program, view, mode, decode);
  return list;
}

interaction::DrawList FlowchartWindowPicture(const FlowProgram& program, const ViewState& view,
                                             const ShiftJisDecoder& decode) {
  interaction::DrawList list;
  list.Text({510, 270}, kSizeLabelFont, "データサイズ");
  char size[32];
  std::snprintf(size, sizeof size, "%03d byte", view.imageSize);
  list.Text({510, 290}, kSizeValueFont, size);
  interaction::DrawList body = FlowchartView(program, view, decode);
  list.items.insert(list.items.end(), std::make_move_iterator(body.items.begin()),
                    std::make_move_iterator(body.items.end()));
  return list;
}

}  // namespace pendra2::flowchart::view
