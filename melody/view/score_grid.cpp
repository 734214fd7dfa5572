#include "melody/view/score_grid.h"

#include <algorithm>

#include "melody/loop_marks.h"
#include "melody/view/score_view.h"

namespace pendra2::melody::view {
namespace {

using melody::CellAt;
using melody::kLoopEnd;
using melody::kLoopStart;

// How many columns at the left edge belong to a mark that starts before the view. The look
// is the same raw look-back every part of the editor uses.
int CutParameterColumns(const melody::Cells& cells, int first) {
  int cut = 0;
  if (CellAt(cells, first - 1) == kLoopStart) cut = std::max(cut, 1);
  if (CellAt(cells, first - 1) == kLoopEnd) cut = std::max(cut, 3);
  if (CellAt(cells, first - 2) == kLoopEnd) cut = std::max(cut, 2);
  if (CellAt(cells, first - 3) == kLoopEnd) cut = std::max(cut, 1);
  return cut;
}

}  // namespace

std::vector<GridCell> VisibleCells(const melody::Cells& cells, int first) {
  std::vector<GridCell> shown;
  if (first < 0) return shown;
  const int end = std::min(first + kVisibleColumns, melody::kLastEditable + 1);
  auto add = [&](int position, CellPicture picture) {
    if (position < end) {
      shown.push_back({position - first, position, CellAt(cells, position), picture});
    }
  };
  const int cut = CutParameterColumns(cells, first);
  for (int p = first; p < first + cut; ++p) add(p, CellPicture::kParameter);

  for (int i = first + cut; i < end;) {
    const uint8_t code = CellAt(cells, i);
    if (code == kLoopStart) {
      add(i, CellPicture::kLoopStart);
      add(i + 1, CellPicture::kParameter);
      i += 2;
    } else if (code == kLoopEnd) {
      add(i, CellPicture::kLoopEnd);
      for (int k = 1; k <= 3; ++k) add(i + k, CellPicture::kParameter);
      i += 4;
    } else {
      if (melody::IsNoteOrRest(code)) add(i, CellPicture::kNoteHead);
      ++i;
    }
  }
  return shown;
}

interaction::BitmapItem CellBitmap(const GridCell& cell, bool playing) {
  const int x = kGridLeft + kColumnWidth * cell.column;
  const interaction::Rect fullHeight{x, 0, x + kMarkWidth, kKeyHeight};
  switch (cell.picture) {
    case CellPicture::kLoopStart:
      return {"Lin", fullHeight, {}};
    case CellPicture::kLoopEnd:
      return {"Lend", fullHeight, {}};
    case CellPicture::kParameter:
      return {"Lpara", fullHeight, {}};
    case CellPicture::kNoteHead:
      break;
  }
  const int y = kC1HeadY - kRowHeight * cell.code;
  return {playing ? "SC_PLAY" : "SC_ON", {x + 1, y, x + 1 + kHeadWidth, y + kHeadHeight}, {}};
}

}  // namespace pendra2::melody::view
