#pragma once
// Column codes of a tune: the same bytes live in the score, the .olg file, the board's tune
// image and the argument of PlayNote, so they are the board image's own codes.

#include <array>
#include <cstdint>
#include <string_view>

#include "board_image/layout.h"

namespace pendra2::melody {

inline constexpr int kCellCount = 512;
// Positions 0..510 can be edited; 511 is never shown, saved or sent.
inline constexpr int kLastEditable = 510;
// Positions the .olg file carries in its current layout.
inline constexpr int kFileCells = 510;

using board_image::kEndMark;
using board_image::kHighestNote;
using board_image::kLowestNote;
using board_image::kRest;
inline constexpr uint8_t kEmpty = 255;
// Followed by the repeat count.
inline constexpr uint8_t kLoopStart = board_image::kLoopStartMark;
// Followed by depth and target; the score's target is big-endian, unlike a program loop's.
inline constexpr uint8_t kLoopEnd = board_image::kLoopEndMark;

using Cells = std::array<uint8_t, kCellCount>;

// Note names, also the names of the key highlight images.
inline constexpr std::array<std::string_view, 24> kNoteNames{
    "C1", "C1s", "D1", "D1s", "E1", "F1", "F1s", "G1", "G1s", "A1", "A1s", "B1",
    "C2", "C2s", "D2", "D2s", "E2", "F2", "F2s", "G2", "G2s", "A2", "A2s", "rest"};

using board_image::IsNoteOrRest;

}  // namespace pendra2::melody
