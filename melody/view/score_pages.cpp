#include "melody/view/score_pages.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "melody/loop_marks.h"
#include "melody/view/score_grid.h"
#include "melody/view/score_view.h"

namespace pendra2::melody::view {
namespace {

using interaction::DrawList;
using interaction::Point;
using interaction::Rect;

std::string ThreeDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%3d", n);
  return text;
}

// Places on the page as fractions of the printable area and window pixels scaled to the
// page; every position is cut to whole device units.
class PageMapper {
 public:
  explicit PageMapper(const PageGeometry& g)
      : g_(g),
        w_(static_cast<double>(g.horzRes) - 2.0 * g.offX),
        h_(static_cast<double>(g.vertRes) - 2.0 * g.offY),
        keyWidth_(static_cast<int>(0.8 * w_)),
        scale_(keyWidth_ / static_cast<double>(kKeyWidth)) {}

  Point At(double fx, double fy) const {
    return {g_.offX + static_cast<int>(fx * w_), g_.offY + static_cast<int>(fy * h_)};
  }
  // A rectangle of the score window, in the system whose top lies at `top` of the height.
  Rect Window(const Rect& r, double top) const {
    const int left = static_cast<int>(g_.offX + r.left * scale_ + 0.1 * w_);
    const int upper = static_cast<int>(g_.offY + r.top * scale_ + top * h_);
    return {left, upper, left + static_cast<int>(r.Width() * scale_),
            upper + static_cast<int>(r.Height() * scale_)};
  }
  Rect Background(double top) const {
    const Point p = At(0.1, top);
    return {p.x, p.y, p.x + keyWidth_, p.y + kKeyHeight * keyWidth_ / kKeyWidth};
  }

 private:
  PageGeometry g_;
  double w_;
  double h_;
  int keyWidth_;
  double scale_;
};

struct System {
  int first;          // first column
  double top;         // of the background, as a fraction of the height
  double numbers;     // the column number line
  double loopCounts;  // the loop count line
};

void DrawSystem(DrawList& list, const PageMapper& map, const melody::Cells& cells,
                const System& system) {
  for (int j = 0; j < kColumnsPerSystem; ++j) {
    const int c = system.first + j;
    if (c % 5 != 4 || c >= melody::kCellCount) continue;
    list.Text(map.At(0.033 * j + 0.22, system.numbers), kPrintSmallFont, ThreeDigits(c + 1));
  }
  const std::vector<GridCell> shown = VisibleCells(cells, system.first);
  for (const GridCell& cell : shown) {
    interaction::BitmapItem bitmap = CellBitmap(cell, false);
    bitmap.dest = map.Window(bitmap.dest, system.top);
    list.items.emplace_back(std::move(bitmap));
  }
  // Counts are not on the screen; on paper each loop start carries its count.
  for (const GridCell& cell : shown) {
    if (cell.picture != CellPicture::kLoopStart) continue;
    const int count = melody::CellAt(cells, cell.position + 1);
    list.Text(map.At(0.033 * cell.column + 0.21, system.loopCounts), kPrintSmallFont,
              ThreeDigits(count));
  }
}

melody::Score Normalised(const melody::Score& score) {
  melody::Score copy = score;
  melody::Normalise(copy);
  return copy;
}

DrawList PageOf(const melody::Score& normalised, const PageGeometry& geometry, int page) {
  DrawList list;
  const PageMapper map(geometry);
  const System upper{kColumnsPerPage * page, 0.1, 0.5, 0.485};
  const System lower{kColumnsPerPage * page + kColumnsPerSystem, 0.55, 0.95, 0.935};
  list.Bitmap("KEY", map.Background(upper.top));
  list.Bitmap("KEY", map.Background(lower.top));
  list.Text(map.At(0.3, 0.05), kPrintTitleFont, kPrintTitle);
  char counter[32];
  std::snprintf(counter, sizeof counter, "PAGE [%3d/%3d]", page + 1,
                ScorePageCount(normalised.length));
  list.Text(map.At(0.2, 0.08), kPrintSmallFont, counter);
  DrawSystem(list, map, normalised.cells, upper);
  DrawSystem(list, map, normalised.cells, lower);
  return list;
}

}  // namespace

int ScorePageCount(int length) {
  return std::max(length, 0) / kColumnsPerPage + 1;
}

DrawList ScorePage(const melody::Score& score, const PageGeometry& geometry, int page) {
  return PageOf(Normalised(score), geometry, page);
}

std::vector<DrawList> ScorePages(const melody::Score& score, const PageGeometry& geometry) {
  const melody::Score normalised = Normalised(score);
  const int count = ScorePageCount(normalised.length);
  std::vector<DrawList> pages;
  pages.reserve(static_cast<std::size_t>(count));
  for (int page = 0; page < count; ++page) pages.push_back(PageOf(normalised, geometry, page));
  return pages;
}

}  // namespace pendra2::melody::view
