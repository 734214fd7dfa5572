#pragma once
// The fields of an InfoQuery reply and the launcher's generation check made on them.

#include <cstdint>
#include <string>

#include "device/report.h"
#include "interaction/generation_source.h"

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

// The launcher starts Stepcraft only for exactly the suite's generation (a transfer takes a
// later one too: interaction::GenerationAcceptsProgram).
constexpr bool GenerationIsCurrent(uint8_t generation) {
  return generation == interaction::kCurrentGeneration;
}

}  // namespace pendra2::device
