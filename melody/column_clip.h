#pragma once
// Columns taken out of a score to go in again elsewhere, in this window or another
// Chimecraft's: the cells as they are, and the clipboard bytes that carry them.
//
// Clipboard bytes: "P2TC", a format version (1), a reserved 0, the count of columns
// (16-bit little-endian), then the cells. Loop ends keep the depth and target they had; a
// paste gives them those of their new place, so neither needs to travel.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "melody/score.h"

namespace pendra2::melody {

inline constexpr std::string_view kColumnsMimeType = "application/x-pendra2-tune-columns";
inline constexpr uint8_t kClipVersion = 1;
inline constexpr int kMaxClipColumns = kLastEditable + 1;

struct ColumnClip {
  Cells cells = EmptyCells();
  int count = 0;
  std::span<const uint8_t> columns() const {
    return std::span(cells).first(static_cast<std::size_t>(count));
  }
};

// Columns first..last of `cells`, which hold their loops whole; an end mark goes as an empty
// column, as the score window shows it.
ColumnClip ClipOf(const Cells& cells, int first, int last);

std::vector<uint8_t> EncodeClip(const ColumnClip& clip);

enum class ClipTrouble { kNone, kNewerVersion, kDamaged };
struct DecodedClip {
  ColumnClip clip;
  ClipTrouble trouble = ClipTrouble::kNone;
};
// Clipboard bytes back to columns: anything but whole marks, whole loops and column codes
// is refused as damaged, a version after ours as newer.
DecodedClip DecodeClip(std::span<const uint8_t> bytes);

// The columns as text for other programs: note names as `pendra2-cli note` takes them, "-"
// for an empty column, "[N" for a loop start repeated N more times, "]" for its end.
std::string ClipText(const ColumnClip& clip);

// How many columns can go in before position `at` without pushing any of the tune off the
// score's last editable column.
int RoomAt(const Cells& cells, int at);

// Inserts the clip before position `at` (a mark's first column) as column insertion does,
// loops after it moving on, and gives the pasted loop ends the depth and target of their new
// place. The caller has made sure of RoomAt.
void InsertClip(Score& score, int at, const ColumnClip& clip);

// Takes columns first..last out, which hold their loops whole; the later columns and their
// loops move back.
void RemoveColumns(Score& score, int first, int last);

}  // namespace pendra2::melody
