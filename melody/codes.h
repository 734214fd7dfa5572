#pragma once
// Column codes of a tune: the same bytes live in the score, the .olg file, the board's tune
// image and the argument of PlayNote.

#include <array>
#include <cstdint>
#include <string_view>

namespace pendra2::melody {

inline constexpr int kCellCount = 512;
// Positions 0..510 can be edited; 511 is never shown, saved or sent.
inline constexpr int kLastEditable = 510;
// Positions the .olg file carries in its current layout.
inline constexpr int kFileCells = 510;

inline constexpr uint8_t kLowestNote = 0;    // C1
inline constexpr uint8_t kHighestNote = 22;  // A2s
inline constexpr uint8_t kRest = 23;         // also silence for PlayNote
inline constexpr uint8_t kEndMark = 24;
inline constexpr uint8_t kEmpty = 255;
inline constexpr uint8_t kLoopStart = 0x6C;  // 'l', followed by the repeat count
inline constexpr uint8_t kLoopEnd = 0x4C;    // 'L', followed by depth and target (big-endian)

using Cells = std::array<uint8_t, kCellCount>;

// Note names, also the names of the key highlight images.
inline constexpr std::array<std::string_view, 24> kNoteNames{
    "C1", "C1s", "D1", "D1s", "E1", "F1", "F1s", "G1", "G1s", "A1", "A1s", "B1",
    "C2", "C2s", "D2", "D2s", "E2", "F2", "F2s", "G2", "G2s", "A2", "A2s", "rest"};

constexpr bool IsNoteOrRest(uint8_t code) {
  return code <= kRest;
}

}  // namespace pendra2::melody
