#pragma once
// Columns chosen along the numbers strip under the grid, for cut, copy and paste. A
// selection always holds whole marks: a loop mark's parameter columns come with it.

#include <optional>

#include "melody/codes.h"

namespace pendra2::melody {

struct ColumnSelection {
  int first = -1;  // -1: nothing selected
  int last = -1;   // inclusive
  // Where a drag along the numbers began, while the button is held; -1 otherwise.
  int anchor = -1;

  bool empty() const { return first < 0; }
  int count() const { return empty() ? 0 : last - first + 1; }
  bool Holds(int position) const { return !empty() && position >= first && position <= last; }
  void Clear() { *this = {}; }
};

// The column under x on the numbers strip, or nullopt off the strip.
std::optional<int> NumberStripColumn(int x, int y, int scrollPos);

// Selects the columns from `from` to `to` (either way round), widened to whole marks and
// kept to the editable columns.
void SelectColumns(ColumnSelection& selection, const Cells& cells, int from, int to);

// The position after the tune's last used column, a mark counting with all its columns; 0
// for an empty score. End marks and empty columns after it are no part of the tune.
int TuneEnd(const Cells& cells);

// Every column of the tune; false, selecting nothing, when the score is empty.
bool SelectWholeTune(ColumnSelection& selection, const Cells& cells);

// Whether columns first..last hold each loop they touch whole: no start without its end,
// no end without its start. `first` is a mark's first column.
bool HoldsWholeLoops(const Cells& cells, int first, int last);

// The number of loops still open at position `at`, where a pasted loop's depth starts.
int OpenLoopsAt(const Cells& cells, int at);

}  // namespace pendra2::melody
