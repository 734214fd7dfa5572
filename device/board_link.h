#pragma once

#include <cstdint>
#include <string>

#include "device/transport.h"

namespace pendra2::device {

// What the last discovery found. Replaced as a whole by each FindBoard.
struct BoardLink {
  int32_t found = 0;       // 1 when the last discovery found a board
  std::string devicePath;  // kept from the last discovery that found one
  Handle writeChannel = kNoHandle;
  Handle readChannel = kNoHandle;  // opened only when writeChannel opened
  // False when the board found did not answer when it was looked for: it has no channels,
  // and every command fails as unanswered until a discovery finds it answering.
  bool responding = true;
};

}  // namespace pendra2::device
