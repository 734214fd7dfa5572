#include "melody/tune_image.h"

#include <algorithm>

namespace pendra2::melody {

TuneImageBytes TuneImage(const Score& score) {
  TuneImageBytes image{};
  image[0] = board_image::op::kTune;
  image[1] = TempoRowOf(score.tempoIndex).tempoByte;
  std::copy_n(score.cells.begin(), kFileCells, image.begin() + 2);
  const int terminator = score.length + 2;
  if (terminator >= 2 && terminator < static_cast<int>(image.size())) {
    image[static_cast<std::size_t>(terminator)] = kImageTerminator;
  }
  return image;
}

}  // namespace pendra2::melody
