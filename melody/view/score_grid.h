#pragma once
// Which picture each of the 21 columns of a view shows. The screen and the printed
// systems walk the columns the same way, so a mark looks the same in both; they differ
// only in where the pictures land.

#include <cstdint>
#include <vector>

#include "interaction/draw_list.h"
#include "melody/codes.h"
#include "melody/score_geometry.h"

namespace pendra2::melody::view {

enum class CellPicture {
  kLoopStart,  // Lin
  kLoopEnd,    // Lend
  kParameter,  // Lpara: a loop's count, depth or target byte
  kNoteHead,   // SC_ON or SC_PLAY in the row of `code`
};

struct GridCell {
  int column = 0;    // 0..20 in the view
  int position = 0;  // in the score
  uint8_t code = 0;  // the byte at `position`
  CellPicture picture = CellPicture::kNoteHead;
};

// The columns from `first` that show something, left to right. Parameter cells whose mark
// lies left of the view show as parameters and nothing else; parts of a mark past the last
// column, positions past the editable ones, end marks, empty columns and unknown codes
// show nothing.
std::vector<GridCell> VisibleCells(const melody::Cells& cells, int first);

// The cell's artwork in the score window's pixels; `playing` gives a note head the mark of
// the column being played.
interaction::BitmapItem CellBitmap(const GridCell& cell, bool playing);

}  // namespace pendra2::melody::view
