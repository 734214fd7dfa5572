#pragma once
// Writing a loop by hand: the loop-start mode places a start mark with its repeat count,
// the loop-end mode then closes the innermost loop that is still open before the click.
// Both make room by inserting columns, so nothing already written is overwritten.

#include "melody/score.h"

namespace pendra2::melody {

// Inserts 'l' and `count` before the column (or the mark holding it) at `column`. False
// when there is no room left behind the tune's last editable column for the two cells.
bool PlaceLoopStart(Score& score, int column, int count);

// The start of the innermost loop that is open (started, not yet ended) before the mark or
// column at `column`, or -1.
int OpenLoopBefore(const Cells& cells, int column);

// Inserts 'L', depth and target before the mark or column at `column`, closing the loop
// OpenLoopBefore finds; loops already inside it move one level deeper. False when no loop
// is open there or the body would be empty.
bool PlaceLoopEnd(Score& score, int column);

}  // namespace pendra2::melody
