#pragma once
// How the board runs a program where the image alone does not say it. Every such choice
// lives here, so the README's table and the interpreter can be checked against one file.

#include <algorithm>
#include <cstdint>
#include <optional>

#include "melody/tempo_table.h"

namespace pendra2::board_sim {

using Micros = int64_t;

namespace behaviour {

// One instruction's time. The real board is far quicker, but a tenth of a millisecond keeps
// a program without waits watchable step by step, and still answers a slider in an instant.
inline constexpr Micros kInstructionMicros = 100;

// Inputs read like the board's 10-bit converters: 0..1023. Options, sliders and the CLI's
// --inputs all take this range.
inline constexpr uint16_t kInputMax = 1023;

constexpr uint16_t ClampInput(int value) {
  return static_cast<uint16_t>(std::clamp(value, 0, static_cast<int>(kInputMax)));
}

// Variables A and B hold what the dialogs let a child type: 16-bit signed numbers. They
// stop at the ends instead of wrapping round, so counting up never turns negative.
inline constexpr int kVariableMin = -32768;
inline constexpr int kVariableMax = 32767;

constexpr int16_t Saturate(int64_t value) {
  return static_cast<int16_t>(std::clamp<int64_t>(value, kVariableMin, kVariableMax));
}

// Division truncates toward zero; dividing by zero leaves the variable as it was.
constexpr std::optional<int16_t> Divide(int16_t x, int16_t by) {
  if (by == 0) return std::nullopt;
  return Saturate(static_cast<int64_t>(x) / by);
}

// Thresholds and constants are the 16 bits the image carries, read as signed numbers, as
// the dialogs take them ("しきい値" is a signed number).
constexpr int16_t Signed16(uint8_t lo, uint8_t hi) {
  return static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
}

// Comparing input 1 with input 2: two sensors never read exactly alike, so the dialog's
// threshold (10 for a new step) is the tolerance. Within it the inputs are equal; input 1
// is greater only when it is more than the tolerance above input 2, and less likewise.
// A negative tolerance counts as 0.
constexpr bool CompareHolds(uint8_t op, int input1, int input2, int threshold) {
  const int tolerance = std::max(threshold, 0);
  const int diff = input1 - input2;
  switch (op) {
    case 0:
      return diff <= tolerance && -diff <= tolerance;
    case 1:
      return diff > tolerance;
    default:
      return -diff > tolerance;
  }
}

// A program loop is sent as count - 1, so "0回くり返し" arrives as 255: a child who asks
// for zero repeats gets the body skipped, not run 256 times.
inline constexpr uint8_t kProgramLoopZero = 255;

// The board keeps four loop counters, one per nesting depth (0..3).
inline constexpr int kLoopCounters = 4;

// A tune column lasts the period of its tempo byte's row; a byte no row has (a damaged
// file) is scaled from the half-second row, 121 to 500 ms, and never lasts less than 1 ms.
constexpr Micros TuneColumnMicros(uint8_t tempoByte) {
  for (const auto& row : melody::kTempoTable) {
    if (row.tempoByte == tempoByte) return static_cast<Micros>(row.periodMs) * 1000;
  }
  return std::max<Micros>(1000, static_cast<Micros>(tempoByte) * 500'000 / 121);
}

// Loop marks inside a tune take no time (a repeat sounds seamless). So that a tune of empty
// nested loops cannot keep the board busy for ever, this many marks in a row without a
// sounding column stop it.
inline constexpr int kMaxMarksWithoutColumn = 100'000;

}  // namespace behaviour
}  // namespace pendra2::board_sim
