#include "melody/loop_placement.h"

#include <vector>

#include "melody/loop_marks.h"
#include "melody/score_edits.h"

namespace pendra2::melody {
namespace {

constexpr int kStartCells = 2;
constexpr int kEndCells = 4;

// Positions from `from` up to 510 hold nothing but empty cells: insertion there loses
// nothing.
bool FreeTail(const Cells& cells, int cellsNeeded) {
  for (int i = kLastEditable + 1 - cellsNeeded; i <= kLastEditable; ++i) {
    if (cells[static_cast<std::size_t>(i)] != kEmpty) return false;
  }
  return true;
}

// Walks marks from the front as playback does; `visit` gets each mark's position and byte.
template <typename Visit>
void WalkMarks(const Cells& cells, int end, Visit visit) {
  for (int i = 0; i < end && i <= kLastEditable;) {
    const uint8_t b = cells[static_cast<std::size_t>(i)];
    if (b == kLoopStart) {
      visit(i, b);
      i += kStartCells;
    } else if (b == kLoopEnd) {
      visit(i, b);
      i += kEndCells;
    } else {
      ++i;
    }
  }
}

}  // namespace

bool PlaceLoopStart(Score& score, int column, int count) {
  if (column < 0 || column > kLastEditable || !FreeTail(score.cells, kStartCells)) return false;
  const int p = MarkStart(score.cells, column);
  InsertColumns(score, p, kStartCells);
  score.cells[static_cast<std::size_t>(p)] = kLoopStart;
  score.cells[static_cast<std::size_t>(p) + 1] = static_cast<uint8_t>(count & 0xFF);
  score.modified = true;
  return true;
}

int OpenLoopBefore(const Cells& cells, int column) {
  if (column < 0 || column > kLastEditable) return -1;
  std::vector<int> open;
  WalkMarks(cells, MarkStart(cells, column), [&](int at, uint8_t b) {
    if (b == kLoopStart) {
      open.push_back(at);
    } else if (!open.empty()) {
      open.pop_back();
    }
  });
  return open.empty() ? -1 : open.back();
}

bool PlaceLoopEnd(Score& score, int column) {
  const int s = OpenLoopBefore(score.cells, column);
  if (s < 0 || !FreeTail(score.cells, kEndCells)) return false;
  const int q = MarkStart(score.cells, column);
  if (q <= s + kStartCells) return false;
  // Depth: the loops still open around the new one; the ones ended inside it go deeper.
  int depth = 0;
  std::vector<int> open;
  WalkMarks(score.cells, q, [&](int at, uint8_t b) {
    if (b == kLoopStart) {
      open.push_back(at);
    } else {
      if (!open.empty()) open.pop_back();
      if (at > s) {
        auto& inner = score.cells[static_cast<std::size_t>(at) + 1];
        inner = static_cast<uint8_t>(inner + 1);
      }
    }
  });
  depth = static_cast<int>(open.size()) - 1;
  InsertColumns(score, q, kEndCells);
  score.cells[static_cast<std::size_t>(q)] = kLoopEnd;
  score.cells[static_cast<std::size_t>(q) + 1] = static_cast<uint8_t>(depth);
  SetLoopTarget(score.cells, q, s + kStartCells);
  score.modified = true;
  return true;
}

}  // namespace pendra2::melody
