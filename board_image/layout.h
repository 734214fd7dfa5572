#pragma once
// The board image: the 512 bytes the board runs. Stepcraft's compiler and Chimecraft's tune
// image write them, the board link carries them, the interpreter and the board model read
// them; every one of them takes the size, the letters and the tune codes from here, so a
// letter the compiler writes is the letter the interpreter knows.

#include <array>
#include <cstdint>

namespace pendra2::board_image {

inline constexpr int kImageBytes = 512;
using Image = std::array<uint8_t, kImageBytes>;

// What an image holds where nothing was written.
inline constexpr uint8_t kUnwritten = 0xFF;

// The instruction letters.
namespace op {
inline constexpr uint8_t kTune = 'T';       // tempo byte, then columns (a tune or a wait)
inline constexpr uint8_t kLoopStart = 'l';  // repeat count - 1
inline constexpr uint8_t kLoopEnd = 'L';    // depth, back address (low byte first)
inline constexpr uint8_t kAtOrAbove = 'b';  // input, threshold, target address
inline constexpr uint8_t kBelow = 'B';      // input, threshold, target address
inline constexpr uint8_t kOutput = 'O';     // port, value
inline constexpr uint8_t kExtOutput = 'o';  // Bit4..Bit7 from bits 0..3
inline constexpr uint8_t kCompare = 'C';    // relation, tolerance, target address
inline constexpr uint8_t kVariableA = 'A';  // operation, operand
inline constexpr uint8_t kVariableB = 'a';  // operation, operand
inline constexpr uint8_t kVarCompare = 'c';  // relation, operand, target address
inline constexpr uint8_t kEnd = 'E';
}  // namespace op

// Length in bytes of a fixed-size instruction, letter included; 0 for 'T' (its length is its
// tune's) and for bytes that are no letter.
constexpr int FixedLength(uint8_t letter) {
  switch (letter) {
    case op::kEnd:
      return 1;
    case op::kLoopStart:
    case op::kExtOutput:
      return 2;
    case op::kOutput:
      return 3;
    case op::kLoopEnd:
    case op::kVariableA:
    case op::kVariableB:
      return 4;
    case op::kAtOrAbove:
    case op::kBelow:
    case op::kCompare:
    case op::kVarCompare:
      return 6;
    default:
      return 0;
  }
}

// The codes of a tune's columns, which are also PlayNote's argument.
inline constexpr uint8_t kLowestNote = 0;    // C1
inline constexpr uint8_t kHighestNote = 22;  // A2s
inline constexpr uint8_t kRest = 23;         // also silence for PlayNote
inline constexpr uint8_t kEndMark = 24;
inline constexpr uint8_t kLoopStartMark = op::kLoopStart;  // followed by the repeat count
inline constexpr uint8_t kLoopEndMark = op::kLoopEnd;      // followed by depth and target

constexpr bool IsNoteOrRest(uint8_t code) {
  return code <= kRest;
}

// A wait is a silent tune at this tempo byte, one rest per half second.
inline constexpr uint8_t kHalfSecondTempo = 121;

}  // namespace pendra2::board_image
