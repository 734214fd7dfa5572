#pragma once
// Reading a board image without running it: how long each instruction is, where a tune's
// columns end, and a walk from address 0 that numbers the steps and pairs the loops.

#include <array>
#include <cstdint>

#include "board_image/layout.h"

namespace pendra2::board_sim {

using board_image::FixedLength;
using board_image::Image;
using board_image::kImageBytes;
namespace op = board_image::op;

// The columns of the tune whose 'T' is at `at`. A tune taken from a score ends with its end
// mark, and only such a tune has loop marks; a wait is a run of rests with no end mark and
// ends at the first byte that is no note or rest (the next step's letter, which may well
// be 'l' or 'L').
struct TuneExtent {
  int columns = 0;       // address of the first column (at + 2)
  int end = 0;           // the end mark's address, or the first byte after the rests
  bool endMark = false;  // ends with the end mark; loop marks are the tune's own
  bool runsOff = false;  // the columns reach the image's end
};
TuneExtent ScanTune(const Image& image, int at);

// What a walk along the image from address 0 finds, instruction after instruction, until
// 'E' or a byte that is no letter.
struct ImageMap {
  // Step number (1 for the first instruction) at each instruction's address, else 0.
  std::array<uint8_t, kImageBytes> stepAt{};
  // For a loop start at a: the depth its 'L' carries and the address of that 'L', found
  // through the 'L' whose back address is a + 2. -1 when no 'L' names it.
  std::array<int16_t, kImageBytes> loopDepth{};
  std::array<int16_t, kImageBytes> loopEnd{};
  // The image is one tune and its 'E' (what Chimecraft writes), not a program.
  bool tuneImage = false;
};
ImageMap MapImage(const Image& image);

}  // namespace pendra2::board_sim
