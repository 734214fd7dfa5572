#include "flowchart/view/print_pages.h"

#include <algorithm>
#include <cstdio>

#include "flowchart/view/step_row.h"

namespace pendra2::flowchart::view {
namespace {

constexpr int kRightColumnShift = 290;
constexpr int kCircleWidth = 20;  // layout units
constexpr int kCircleBitmapSize = 30;

int StepCount(const FlowProgram& program) {
  return std::clamp<int>(program.count, 0, kStepSlots);
}

// Layout units (a symbol is 96 wide) to device units: the symbol fills 15 % of the
// printable width, and the layout starts 10 % in from the left and top.
class PageMapper {
 public:
  explicit PageMapper(const PageGeometry& g)
      : g_(g),
        wd_(static_cast<double>(g.horzRes) - 2.0 * g.offX),
        hd_(static_cast<double>(g.vertRes) - 2.0 * g.offY),
        symbolWidth_(static_cast<int>(0.15 * wd_)),
        scale_(symbolWidth_ / static_cast<double>(kSymbolWidth)) {}

  interaction::Point At(int x, int y) const {
    return {g_.offX + static_cast<int>(x * scale_) + static_cast<int>(0.1 * wd_),
            g_.offY + static_cast<int>(y * scale_) + static_cast<int>(0.1 * hd_)};
  }
  interaction::Point Device(double fx, double fy) const {
    return {g_.offX + static_cast<int>(fx * wd_), g_.offY + static_cast<int>(fy * hd_)};
  }
  interaction::Rect Symbol(int x, int y) const {
    const interaction::Point p = At(x, y);
    return {p.x, p.y, p.x + symbolWidth_, p.y + kSymbolHeight * symbolWidth_ / kSymbolWidth};
  }
  interaction::Rect Circle(int x, int y) const {
    const interaction::Point p = At(x, y);
    const int width = static_cast<int>(0.15 * wd_ * kCircleWidth / kSymbolWidth);
    return {p.x, p.y, p.x + width, p.y + kCircleBitmapSize * width / kCircleBitmapSize};
  }

 private:
  PageGeometry g_;
  double wd_;
  double hd_;
  int symbolWidth_;
  double scale_;
};

struct Place {
  int row;    // 0..14 in its column
  int shift;  // 0 left column, 290 right column
  int first;  // first step of the column
};

Place PlaceOf(int step) {
  const int r = step % kStepsPerPage;
  const int base = step - r;
  const bool right = r >= kStepsPerColumn;
  return {r % kStepsPerColumn, right ? kRightColumnShift : 0, base + (right ? kStepsPerColumn : 0)};
}

class PageDrawer {
 public:
  PageDrawer(const PageMapper& map, interaction::DrawList& list) : map_(map), list_(list) {}

  void Text(int x, int y, std::string text) {
    if (!text.empty()) list_.Text(map_.At(x, y), kBodyFont, std::move(text));
  }
  void Line(int x1, int y1, int x2, int y2) {
    list_.Line({map_.At(x1, y1), map_.At(x2, y2)}, kPrintPenWidth);
  }
  void Circle(int x, int y, int label) {
    list_.Bitmap("S_CIRCLE", map_.Circle(x, y));
    Text(x + 3, y + 5, ThreeDigits(label));
  }

  void Row(const StepRecord& step, int n, const Place& at, const ShiftJisDecoder& decode) {
    const int c = at.shift;
    const int top = kRowHeight * at.row;
    Text(-15 + c, top + 50, ThreeDigits(n) + ":");
    const StepRow row = StepRowFor(step, false, decode);
    if (!row.symbol.empty()) list_.Bitmap(row.symbol, map_.Symbol(10 + c, top + 30));
    int captionX = row.caption.at.x - 20 + c;
    // Paper gives the first output port's caption more room than the screen does.
    if (step.Is(StepKind::Output) && step.channel == 1) captionX += 10;
    Text(captionX, top + row.caption.at.y - 10, row.caption.text);
    Text(row.target.at.x - 20 + c, top + row.target.at.y - 10, row.target.text);
  }

 private:
  const PageMapper& map_;
  interaction::DrawList& list_;
};

}  // namespace

int PageCount(int stepCount) {
  return std::max(1, (std::max(stepCount, 0) + kStepsPerPage - 1) / kStepsPerPage);
}

interaction::DrawList PrintPage(const FlowProgram& program, const std::string& title,
                                const PageGeometry& geometry, int page,
                                const ShiftJisDecoder& decode) {
  interaction::DrawList list;
  const PageMapper map(geometry);
  PageDrawer draw(map, list);
  const int count = StepCount(program);
  const int pages = PageCount(count);
  const int base = kStepsPerPage * page;
  const int end = std::min(base + kStepsPerPage, count);

  list.Text(map.Device(0.3, 0.05), kTitleFont, title);
  char counter[48];
  std::snprintf(counter, sizeof counter, "PAGE [%3d/%3d]", page + 1, pages);
  list.Text(map.Device(0.2, 0.08), kBodyFont, counter);

  for (int n = base; n < end; ++n) draw.Row(program.steps[n], n, PlaceOf(n), decode);

  // Jumps leaving this page's steps: a line with its own lane when the target shares the
  // column, otherwise a circle naming the target.
  int lanes[2] = {135, 135 + kRightColumnShift};
  for (int n = base; n < end; ++n) {
    const StepRecord& step = program.steps[n];
    if (!IsJump(step)) continue;
    const Place at = PlaceOf(n);
    const int c = at.shift;
    const int y = kRowHeight * at.row + 56;
    const int t = step.target;
    if (t >= at.first && t < at.first + kStepsPerColumn) {
      int& lane = lanes[c == 0 ? 0 : 1];
      const int ty = kRowHeight * (t - at.first) + 32;
      draw.Line(98 + c, y, lane, y);
      draw.Line(lane, y, lane, ty);
      draw.Line(lane, ty, 105 + c, ty);
      lane += 3;
    } else {
      draw.Circle(110 + c, y - 9, t);
      draw.Line(step.Is(StepKind::Goto) ? 98 + c : 94 + c, y, 110 + c, y);
      draw.Line(110 + c, y + 1, 105 + c, y + 6);
      draw.Line(110 + c, y, 105 + c, y - 5);
    }
  }

  // Jumps arriving on this page, from anywhere in the program.
  for (int j = 1; j < count; ++j) {
    const StepRecord& step = program.steps[j];
    const int t = step.target;
    if (!IsJump(step) || t < base || t >= base + kStepsPerPage) continue;
    const Place at = PlaceOf(t);
    const int c = at.shift;
    const int yt = kRowHeight * at.row;
    draw.Circle(105 + c, yt + 22, t);
    draw.Line(58 + c, yt + 31, 105 + c, yt + 31);
    draw.Line(58 + c, yt + 32, 63 + c, yt + 37);
    draw.Line(58 + c, yt + 31, 63 + c, yt + 26);
  }
  return list;
}

std::vector<interaction::DrawList> PrintPages(const FlowProgram& program, const std::string& title,
                                              const PageGeometry& geometry,
                                              const ShiftJisDecoder& decode) {
  std::vector<interaction::DrawList> pages;
  const int count = PageCount(StepCount(program));
  pages.reserve(count);
  for (int p = 0; p < count; ++p) pages.push_back(PrintPage(program, title, geometry, p, decode));
  return pages;
}

}  // namespace pendra2::flowchart::view
