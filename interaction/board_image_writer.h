#pragma once
// The one way a core sends a whole 512-byte image to the board, whoever drives it: the
// editors put a progress dialog behind it, the command line a progress line, tests a
// recorder. The cores see only this, so they never depend on the board link itself.

#include <cstddef>
#include <cstdint>
#include <span>

#include "board_image/layout.h"

namespace pendra2::interaction {

class BoardImageWriter {
 public:
  virtual ~BoardImageWriter() = default;
  // BeginImageWrite and the eight blocks, each waiting for its reply, with the progress shown
  // after each answered block. True only when every request went out and every reply came
  // back: anything less may have left the board with part of an image.
  virtual bool WriteImage(std::span<const uint8_t, board_image::kImageBytes> image) = 0;
};

}  // namespace pendra2::interaction
