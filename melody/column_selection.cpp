#include "melody/column_selection.h"

#include <algorithm>

#include "melody/loop_marks.h"
#include "melody/score_edits.h"
#include "melody/score_geometry.h"

namespace pendra2::melody {
namespace {

constexpr int kStartCells = 2;
constexpr int kEndCells = 4;

// The columns the mark at p (a mark's first column) takes.
int MarkCells(const Cells& cells, int p) {
  const uint8_t b = CellAt(cells, p);
  return b == kLoopStart ? kStartCells : b == kLoopEnd ? kEndCells : 1;
}

}  // namespace

std::optional<int> NumberStripColumn(int x, int y, int scrollPos) {
  if (y < kNumberStripTop || y >= kNumberStripBottom) return std::nullopt;
  return GridColumn(x, scrollPos);
}

void SelectColumns(ColumnSelection& selection, const Cells& cells, int from, int to) {
  const int lo = std::clamp(std::min(from, to), 0, kLastEditable);
  const int hi = std::clamp(std::max(from, to), 0, kLastEditable);
  selection.first = MarkStart(cells, lo);
  const int lastMark = MarkStart(cells, hi);
  selection.last = std::min(lastMark + MarkCells(cells, lastMark) - 1, kLastEditable);
}

int TuneEnd(const Cells& cells) {
  int end = 0;
  for (int p = 0; p <= kLastEditable; ++p) {
    const uint8_t b = cells[static_cast<std::size_t>(p)];
    if (IsParameterCell(cells, p) || b == kEmpty || b == kEndMark) continue;
    end = std::min(p + MarkCells(cells, p), kLastEditable + 1);
  }
  return end;
}

bool SelectWholeTune(ColumnSelection& selection, const Cells& cells) {
  const int end = TuneEnd(cells);
  selection.Clear();
  if (end == 0) return false;
  SelectColumns(selection, cells, 0, end - 1);
  return true;
}

bool HoldsWholeLoops(const Cells& cells, int first, int last) {
  int open = 0;
  for (int p = first; p <= last; ++p) {
    if (IsParameterCell(cells, p)) continue;
    const uint8_t b = CellAt(cells, p);
    if (b == kLoopStart) ++open;
    if (b == kLoopEnd && --open < 0) return false;
  }
  return open == 0;
}

int OpenLoopsAt(const Cells& cells, int at) {
  int open = 0;
  for (int p = 0; p < at && p <= kLastEditable; ++p) {
    if (IsParameterCell(cells, p)) continue;
    const uint8_t b = cells[static_cast<std::size_t>(p)];
    if (b == kLoopStart) ++open;
    if (b == kLoopEnd && open > 0) --open;
  }
  return open;
}

}  // namespace pendra2::melody
