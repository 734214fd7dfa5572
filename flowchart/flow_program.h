#pragma once
// The program being edited: the 256-slot step table, its derived tables and the board image.

#include <array>
#include <cstdint>

#include "flowchart/step_record.h"

namespace pendra2::flowchart {

inline constexpr int kStepSlots = 256;
inline constexpr int kMaxSteps = 255;
inline constexpr int kImageBytes = 512;
inline constexpr int kFileHeaderBytes = 64;

using BoardImage = std::array<uint8_t, kImageBytes>;

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
    img.fill(0xFF);
    return img;
  }
};

}  // namespace pendra2::flowchart
