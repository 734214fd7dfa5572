#include "melody/score_edits.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "melody/loop_marks.h"

namespace pendra2::melody {
namespace {

enum class Mark : uint8_t { kPlain, kStart, kEnd, kParameter };

// Every column classified by the look-back rule, taken before an edit changes the bytes
// the rule looks at.
std::array<Mark, kCellCount> Classify(const Cells& cells) {
  std::array<Mark, kCellCount> marks{};
  for (int n = 0; n < kCellCount; ++n) {
    Mark& m = marks[static_cast<std::size_t>(n)];
    if (IsParameterCell(cells, n)) {
      m = Mark::kParameter;
    } else if (cells[static_cast<std::size_t>(n)] == kLoopStart) {
      m = Mark::kStart;
    } else if (cells[static_cast<std::size_t>(n)] == kLoopEnd) {
      m = Mark::kEnd;
    }
  }
  return marks;
}

bool InCells(int n) {
  return n >= 0 && n <= kLastEditable;
}

uint8_t& Cell(Score& score, int n) {
  return score.cells[static_cast<std::size_t>(n)];
}

}  // namespace

std::optional<int> GridColumn(int x, int scrollPos) {
  if (x <= kGridLeft || x > kGridRight) return std::nullopt;
  return (x - kGridLeft) / kColumnWidth + scrollPos;
}

std::optional<uint8_t> GridRowCode(int y) {
  if (y < 0 || y / kRowHeight >= kRows) return std::nullopt;
  return static_cast<uint8_t>(kRest - y / kRowHeight);
}

GridClick ClassifyGridClick(const Cells& cells, int column) {
  if (IsParameterCell(cells, column)) return GridClick::kParameterCell;
  if (CellAt(cells, column) == kLoopStart) return GridClick::kLoopCount;
  if (CellAt(cells, column) == kLoopEnd) return GridClick::kLoopJump;
  return GridClick::kNote;
}

std::optional<uint8_t> ToggleNote(Score& score, int column, uint8_t m) {
  if (!InCells(column)) return std::nullopt;
  const uint8_t old = Cell(score, column);
  Cell(score, column) = kEmpty;
  score.modified = true;
  if (old == m) return std::nullopt;
  Cell(score, column) = m;
  return m;
}

int LoopCount(const Cells& cells, int loopStart) {
  return CellAt(cells, loopStart + 1);
}

void SetLoopCount(Score& score, int loopStart, int count) {
  if (!InCells(loopStart + 1)) return;
  Cell(score, loopStart + 1) = static_cast<uint8_t>(std::clamp(count, 0, kMaxLoopCount));
  score.modified = true;
}

int LoopJumpScroll(const Cells& cells, int loopEnd) {
  return std::clamp(LoopTarget(cells, loopEnd) - 2, 0, kMaxScrollPos);
}

void InsertColumns(Score& score, int column, int k) {
  if (!InCells(column) || k <= 0) return;
  k = std::min(k, kMaxEditColumns);
  const int p = MarkStart(score.cells, column);
  const auto marks = Classify(score.cells);
  for (int e = 0; e <= kLastEditable; ++e) {
    if (marks[static_cast<std::size_t>(e)] != Mark::kEnd) continue;
    const int t = LoopTarget(score.cells, e);
    // A loop whose body starts at the insertion point takes the new columns into its body.
    if (t > p) SetLoopTarget(score.cells, e, t + k);
  }
  for (int i = kLastEditable; i >= p + k; --i) Cell(score, i) = Cell(score, i - k);
  for (int i = p; i < p + k && i < kCellCount; ++i) Cell(score, i) = kEmpty;
  score.modified = true;
}

bool IsLoopMarkColumn(const Cells& cells, int column) {
  const int p = MarkStart(cells, column);
  return CellAt(cells, p) == kLoopStart || CellAt(cells, p) == kLoopEnd;
}

void DeleteColumns(Score& score, int column, int k) {
  if (!InCells(column) || k <= 0) return;
  k = std::min(k, kMaxEditColumns);
  int p = MarkStart(score.cells, column);
  for (int pass = 0; pass < k; ++pass) {
    const auto marks = Classify(score.cells);
    int m = p;
    while (m <= kLastEditable) {
      const Mark mark = marks[static_cast<std::size_t>(m)];
      if (m == p && mark == Mark::kStart) {
        m += 2;
        p += 2;
        continue;
      }
      if (mark == Mark::kEnd) {
        const int t = LoopTarget(score.cells, m);
        // A body that starts at the deletion point still starts there afterwards.
        if (t > p) SetLoopTarget(score.cells, m, t - 1);
        if (m == p) {
          m += 4;
          p += 4;
          continue;
        }
      }
      Cell(score, m) = score.cells[static_cast<std::size_t>(m) + 1];
      ++m;
    }
  }
  for (int i = kLastEditable + 1 - k; i <= kLastEditable; ++i) Cell(score, i) = kEmpty;
  score.modified = true;
}

bool RemoveLoop(Score& score, int column) {
  if (!InCells(column)) return false;
  const int p = MarkStart(score.cells, column);
  const auto marks = Classify(score.cells);
  auto markAt = [&](int n) {
    return InCells(n) ? marks[static_cast<std::size_t>(n)] : Mark::kPlain;
  };

  std::optional<int> s;
  std::optional<int> e;
  if (markAt(p) == Mark::kStart) {
    s = p;
    int depth = 0;
    for (int m = p; m <= kLastEditable;) {
      if (markAt(m) == Mark::kStart) {
        ++depth;
        m += 2;
      } else if (markAt(m) == Mark::kEnd) {
        if (--depth == 0) {
          e = m;
          break;
        }
        m += 4;
      } else {
        ++m;
      }
    }
  } else if (markAt(p) == Mark::kEnd) {
    e = p;
    const int start = LoopTarget(score.cells, p) - 2;
    if (start >= 0 && start < p && markAt(start) == Mark::kStart) s = start;
  } else {
    return false;
  }

  auto removed = [&](int m) {
    return (s && (m == *s || m == *s + 1)) || (e && m >= *e && m <= *e + 3);
  };
  const Cells old = score.cells;
  int out = 0;
  auto copy = [&](int from, int count) {
    for (int i = 0; i < count && from + i <= kLastEditable; ++i) {
      score.cells[static_cast<std::size_t>(out++)] =
          old[static_cast<std::size_t>(from) + static_cast<std::size_t>(i)];
    }
  };
  for (int m = 0; m <= kLastEditable;) {
    if (removed(m)) {
      ++m;
    } else if (markAt(m) == Mark::kEnd) {
      const int at = out;
      copy(m, 4);
      int t = LoopTarget(old, m);
      uint8_t depth = CellAt(old, m + 1);
      if (s && t > *s) {
        t -= 2;
        // Loops nested in the removed one move one level out.
        if (e && t < *e && depth > 0) --depth;
      }
      if (e && t >= *e) t -= 4;
      if (at + 1 < out) score.cells[static_cast<std::size_t>(at) + 1] = depth;
      if (at + 3 < out) SetLoopTarget(score.cells, at, t);
      m += 4;
    } else if (markAt(m) == Mark::kStart) {
      copy(m, 2);
      m += 2;
    } else {
      copy(m, 1);
      ++m;
    }
  }
  for (int i = out; i <= kLastEditable; ++i) Cell(score, i) = kEmpty;
  score.modified = true;
  return true;
}

int CountFromField(std::string_view text, int max) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  long long value = 0;
  const auto [rest, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || rest != text.data() + text.size()) return 0;
  if (value < -2147483648LL || value > 2147483647LL) return 0;
  if (value < 0) return max;  // read back as an unsigned number, any negative is huge
  return static_cast<int>(std::min<long long>(value, max));
}

}  // namespace pendra2::melody
