#pragma once
// The fields of an InfoQuery reply and the two generation checks made on them.

#include <cstdint>
#include <string>

#include "device/report.h"

namespace pendra2::device {

struct BoardInfo {
  std::string testStatus;   // reply bytes 1..2
  std::string version;      // reply bytes 9..16
  uint8_t generation = 0;   // reply byte 10, the version's second character
  std::string releaseDate;  // reply bytes 19..26
  std::string buildNumber;  // reply bytes 29..33
};

// Text fields are taken byte for byte at their fixed lengths; a NUL inside one ends it, as a
// reader that appends a terminator after the field would show it.
BoardInfo ParseBoardInfo(const ReplyReport& reply);

inline constexpr uint8_t kCurrentGeneration = '3';

// Stepcraft writes a program into a board of this generation or a later one.
constexpr bool GenerationAcceptsProgram(uint8_t generation) {
  return generation >= kCurrentGeneration;
}
// The launcher starts Stepcraft only for exactly this generation.
constexpr bool GenerationIsCurrent(uint8_t generation) {
  return generation == kCurrentGeneration;
}

inline constexpr const char* kGenerationRefusedText =
    "このバージョンで作成したプログラムは\n新しいバージョンのPendra専用です\n誤動作の可能性が"
    "ありますので\n書き込みを中止します。";
inline constexpr const char* kGenerationRefusedCaption = "Error";

}  // namespace pendra2::device
