#pragma once
// The program being edited: the 256-slot step table, its derived tables and the board image.

#include <array>
#include <cstdint>

#include "board_image/layout.h"
#include "flowchart/step_record.h"

namespace pendra2::flowchart {

inline constexpr int kStepSlots = 256;
inline constexpr int kMaxSteps = 255;
using board_image::kImageBytes;
inline constexpr int kFileHeaderBytes = 64;

using BoardImage = board_image::Image;

struct FlowProgram {
  std::array<StepRecord, kStepSlots> steps{};
  int32_t count = 2;
  std::array<int32_t, kStepSlots> depthAfter{};
  std::array<int32_t, kStepSlots> endAddress{};
  int32_t imageSize = 0;
  BoardImage image = FilledImage();
  // Changed since the last load, save or new program.
  bool modified = false;
  int32_t tempoIndex = 2;
  int32_t currentStep = 0;
  // Lives from start-up to exit: a load reads a file's header into it and a save rewrites
  // only its own fields, so bytes 26..63 of the last loaded file travel into the next save.
  std::array<uint8_t, kFileHeaderBytes> headerBuffer{};

  static constexpr BoardImage FilledImage() {
    BoardImage img{};
    img.fill(board_image::kUnwritten);
    return img;
  }
};

}  // namespace pendra2::flowchart
