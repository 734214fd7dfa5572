#include "board_sim/image_map.h"

#include <algorithm>

namespace pendra2::board_sim {
namespace {

uint8_t ByteAt(const Image& image, int address) {
  return image[static_cast<std::size_t>(address)];
}

}  // namespace

TuneExtent ScanTune(const Image& image, int at) {
  TuneExtent t;
  t.columns = at + 2;
  // First the way a score is read: marks skip their parameters, and the end mark closes it.
  for (int p = t.columns; p < kImageBytes;) {
    const uint8_t b = image[static_cast<std::size_t>(p)];
    if (board_image::IsNoteOrRest(b)) {
      ++p;
    } else if (b == board_image::kLoopStartMark) {
      p += 2;
    } else if (b == board_image::kLoopEndMark) {
      p += 4;
    } else if (b == board_image::kEndMark) {
      t.end = p;
      t.endMark = true;
      return t;
    } else {
      break;
    }
  }
  // No end mark: a wait's rests, which end at the first byte that is no note or rest.
  int p = t.columns;
  while (p < kImageBytes && board_image::IsNoteOrRest(image[static_cast<std::size_t>(p)])) ++p;
  t.end = p;
  t.runsOff = p >= kImageBytes;
  return t;
}

ImageMap MapImage(const Image& image) {
  ImageMap map;
  map.loopDepth.fill(-1);
  map.loopEnd.fill(-1);
  int at = 0;
  int step = 0;
  bool onlyTune = false;
  while (at >= 0 && at < kImageBytes) {
    const uint8_t letter = image[static_cast<std::size_t>(at)];
    int length = FixedLength(letter);
    if (letter == op::kTune && at + 1 < kImageBytes) {
      const TuneExtent t = ScanTune(image, at);
      if (t.runsOff) break;
      length = t.end - at + (t.endMark ? 1 : 0);
      onlyTune = step == 0 && t.endMark;
    } else if (length == 0 || at + length > kImageBytes) {
      break;
    }
    if (step < 255) map.stepAt[static_cast<std::size_t>(at)] = static_cast<uint8_t>(++step);
    if (letter == op::kEnd) {
      map.tuneImage = onlyTune && step == 2;
      break;
    }
    if (letter == op::kLoopEnd) {
      const int back = ByteAt(image, at + 2) | (ByteAt(image, at + 3) << 8);
      const int start = back - 2;
      if (start >= 0 && start < kImageBytes && ByteAt(image, start) == op::kLoopStart) {
        map.loopDepth[static_cast<std::size_t>(start)] = ByteAt(image, at + 1);
        map.loopEnd[static_cast<std::size_t>(start)] = static_cast<int16_t>(at);
      }
    }
    at += length;
  }
  return map;
}

}  // namespace pendra2::board_sim
