#include "melody/column_clip.h"

#include <algorithm>
#include <array>
#include <vector>

#include "melody/column_selection.h"
#include "melody/loop_marks.h"
#include "melody/score_edits.h"

namespace pendra2::melody {
namespace {

constexpr std::array<uint8_t, 4> kClipMagic{'P', '2', 'T', 'C'};
constexpr std::size_t kClipHeader = 8;

int MarkCells(uint8_t b) {
  return b == kLoopStart ? 2 : b == kLoopEnd ? 4 : 1;
}

bool IsColumnCode(uint8_t b) {
  return IsNoteOrRest(b) || b == kEmpty || b == kLoopStart || b == kLoopEnd;
}

}  // namespace

ColumnClip ClipOf(const Cells& cells, int first, int last) {
  ColumnClip clip;
  for (int p = first; p <= last && p <= kLastEditable; ++p) {
    uint8_t b = cells[static_cast<std::size_t>(p)];
    if (b == kEndMark && !IsParameterCell(cells, p)) b = kEmpty;
    clip.cells[static_cast<std::size_t>(clip.count++)] = b;
  }
  return clip;
}

std::vector<uint8_t> EncodeClip(const ColumnClip& clip) {
  std::vector<uint8_t> bytes(kClipHeader + clip.columns().size());
  std::copy(kClipMagic.begin(), kClipMagic.end(), bytes.begin());
  bytes[4] = kClipVersion;
  bytes[6] = static_cast<uint8_t>(clip.count & 0xFF);
  bytes[7] = static_cast<uint8_t>((clip.count >> 8) & 0xFF);
  std::copy(clip.columns().begin(), clip.columns().end(), bytes.begin() + kClipHeader);
  return bytes;
}

DecodedClip DecodeClip(std::span<const uint8_t> bytes) {
  DecodedClip decoded;
  decoded.trouble = ClipTrouble::kDamaged;
  if (bytes.size() < kClipHeader ||
      !std::equal(kClipMagic.begin(), kClipMagic.end(), bytes.begin()))
    return decoded;
  if (bytes[4] > kClipVersion) {
    decoded.trouble = ClipTrouble::kNewerVersion;
    return decoded;
  }
  const int count = bytes[6] | (bytes[7] << 8);
  if (bytes[4] != kClipVersion || count < 1 || count > kMaxClipColumns ||
      bytes.size() != kClipHeader + static_cast<std::size_t>(count))
    return decoded;
  ColumnClip& clip = decoded.clip;
  std::copy(bytes.begin() + kClipHeader, bytes.end(), clip.cells.begin());
  clip.count = count;
  for (int p = 0; p < count; ++p) {
    if (IsParameterCell(clip.cells, p)) continue;
    const uint8_t b = clip.cells[static_cast<std::size_t>(p)];
    if (!IsColumnCode(b) || p + MarkCells(b) > count) return decoded;
  }
  if (!HoldsWholeLoops(clip.cells, 0, count - 1)) return decoded;
  decoded.trouble = ClipTrouble::kNone;
  return decoded;
}

std::string ClipText(const ColumnClip& clip) {
  std::string text;
  for (int p = 0; p < clip.count; ++p) {
    if (IsParameterCell(clip.cells, p)) continue;
    const uint8_t b = clip.cells[static_cast<std::size_t>(p)];
    if (!text.empty()) text += ' ';
    if (IsNoteOrRest(b)) {
      text += kNoteNames[b];
    } else if (b == kLoopStart) {
      text += '[' + std::to_string(CellAt(clip.cells, p + 1));
    } else if (b == kLoopEnd) {
      text += ']';
    } else {
      text += '-';
    }
  }
  return text + '\n';
}

int RoomAt(const Cells& cells, int at) {
  return kLastEditable + 1 - std::max(TuneEnd(cells), at);
}

void InsertClip(Score& score, int at, const ColumnClip& clip) {
  const int outer = OpenLoopsAt(score.cells, at);
  for (int done = 0; done < clip.count;) {
    const int k = std::min(clip.count - done, kMaxEditColumns);
    InsertColumns(score, at, k);
    done += k;
  }
  const auto columns = clip.columns();
  std::copy(columns.begin(), columns.end(), score.cells.begin() + at);
  std::vector<int> open;
  for (int p = at; p < at + clip.count; ++p) {
    if (IsParameterCell(score.cells, p)) continue;
    const uint8_t b = score.cells[static_cast<std::size_t>(p)];
    if (b == kLoopStart) open.push_back(p);
    if (b != kLoopEnd || open.empty()) continue;
    const int start = open.back();
    open.pop_back();
    score.cells[static_cast<std::size_t>(p) + 1] = static_cast<uint8_t>(outer + open.size());
    SetLoopTarget(score.cells, p, start + 2);
  }
  score.modified = true;
}

void RemoveColumns(Score& score, int first, int last) {
  const int n = last - first + 1;
  if (first < 0 || n <= 0 || last > kLastEditable) return;
  Cells& cells = score.cells;
  std::vector<int> ends;
  for (int p = 0; p <= kLastEditable; ++p) {
    if (cells[static_cast<std::size_t>(p)] == kLoopEnd && !IsParameterCell(cells, p) &&
        (p < first || p > last))
      ends.push_back(p);
  }
  for (const int e : ends) {
    const int t = LoopTarget(cells, e);
    if (t > last) SetLoopTarget(cells, e, t - n);
  }
  for (int p = first; p <= kLastEditable; ++p) {
    const int from = p + n;
    cells[static_cast<std::size_t>(p)] =
        from <= kLastEditable ? cells[static_cast<std::size_t>(from)] : kEmpty;
  }
  score.modified = true;
}

}  // namespace pendra2::melody
