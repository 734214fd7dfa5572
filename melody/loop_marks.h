#pragma once
// Reading loop marks. A mark spans several columns; whether a column is one of a mark's
// parameter cells is decided only by looking back at the columns before it, so that every
// part of the program agrees on what a column is.

#include <cstdint>

#include "melody/codes.h"

namespace pendra2::melody {

// A byte of cells, or kEmpty for a position outside them: marks near the end of the score
// may name parameter cells that do not exist.
constexpr uint8_t CellAt(const Cells& cells, int position) {
  return position >= 0 && position < kCellCount ? cells[static_cast<std::size_t>(position)]
                                                : kEmpty;
}

constexpr bool IsParameterCell(const Cells& cells, int n) {
  const uint8_t b1 = CellAt(cells, n - 1);
  return (n >= 1 && (b1 == kLoopStart || b1 == kLoopEnd)) ||
         (n >= 2 && CellAt(cells, n - 2) == kLoopEnd) ||
         (n >= 3 && CellAt(cells, n - 3) == kLoopEnd);
}

// The first column of the mark that column n belongs to (n itself for ordinary columns).
constexpr int MarkStart(const Cells& cells, int n) {
  int p = n;
  if (n >= 1 && (CellAt(cells, n - 1) == kLoopStart || CellAt(cells, n - 1) == kLoopEnd)) p -= 1;
  if (n >= 2 && CellAt(cells, n - 2) == kLoopEnd) p -= 2;
  if (n >= 3 && CellAt(cells, n - 3) == kLoopEnd) p -= 3;
  return p;
}

// The jump target of a loop-end mark at e: the first body column of its loop start.
constexpr int LoopTarget(const Cells& cells, int e) {
  return CellAt(cells, e + 2) * 256 + CellAt(cells, e + 3);
}

inline void SetLoopTarget(Cells& cells, int e, int target) {
  if (e + 3 >= kCellCount) return;
  cells[static_cast<std::size_t>(e + 2)] = static_cast<uint8_t>((target >> 8) & 0xFF);
  cells[static_cast<std::size_t>(e + 3)] = static_cast<uint8_t>(target & 0xFF);
}

}  // namespace pendra2::melody
