#pragma once
// The 13 tempos: the label of the tempo list, the byte the board plays the tune at, and the
// period that paces note-by-note playback on the PC.

#include <array>
#include <cstdint>
#include <string_view>

namespace pendra2::melody {

struct TempoRow {
  std::string_view label;
  uint8_t tempoByte;
  int periodMs;
};

inline constexpr int kTempoCount = 13;
inline constexpr int kDefaultTempoIndex = 2;

inline constexpr std::array<TempoRow, kTempoCount> kTempoTable{{
    {"1/2(0.5)秒", 121, 500},
    {"2/5(0.4)秒", 96, 400},
    {"1/3(0.33)秒", 80, 330},
    {"1/4(0.25)秒", 61, 250},
    {"1/5(0.2)秒", 48, 200},
    {"1/6(0.17)秒", 40, 166},
    {"1/8(0.125)秒", 30, 125},
    {"1/10(0.1)秒", 24, 100},
    {"1/20(0.05)秒", 12, 50},
    {"1/40(0.025)秒", 6, 25},
    {"1/80(0.0125)秒", 3, 12},
    {"1/120(0.0083)秒", 2, 8},
    {"1/240(0.0042)秒", 1, 4},
}};

constexpr bool IsTempoIndex(int index) {
  return index >= 0 && index < kTempoCount;
}

// A row for any index: an index that slipped out of range falls back to the default row
// rather than reading past the table.
constexpr const TempoRow& TempoRowOf(int index) {
  return kTempoTable[static_cast<std::size_t>(IsTempoIndex(index) ? index : kDefaultTempoIndex)];
}

}  // namespace pendra2::melody
