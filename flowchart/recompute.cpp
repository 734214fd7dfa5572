#include "flowchart/recompute.h"

#include <algorithm>
#include <bit>

#include "flowchart/image_encoding.h"

namespace pendra2::flowchart {

static_assert(std::endian::native == std::endian::little,
              "records and images are little-endian byte for byte");

void NewProgram(FlowProgram& program) {
  program.steps[0].kind = static_cast<int32_t>(StepKind::Start);
  program.steps[0].size = 0;
  program.steps[1].kind = static_cast<int32_t>(StepKind::End);
  program.steps[1].size = 0;
  program.count = 2;
  program.depthAfter.fill(0);
  program.endAddress.fill(0);
  program.imageSize = 0;
  program.image = FlowProgram::FilledImage();
  program.modified = false;
  program.currentStep = 0;
}

bool Recompute(FlowProgram& program) {
  const int count = StepsInTable(program);
  int32_t depth = 0;
  int32_t sum = 0;
  for (int i = 0; i < count; ++i) {
    StepRecord& step = program.steps[i];
    // A damaged file can claim any size; the compiler emits what the encoding says, so the
    // addresses must be counted the same way.
    step.size = EncodedSize(step);
    if (step.Is(StepKind::LoopStart)) {
      ++depth;
      step.depth = depth;
    } else if (step.Is(StepKind::LoopEnd)) {
      step.depth = depth;
      step.code[1] = static_cast<uint8_t>(depth & 0xFF);
      --depth;
    }
    sum += step.size;
    program.depthAfter[i] = depth;
    program.endAddress[i] = sum;
  }
  program.imageSize = sum;
  if (sum > kImageBytes - 1) return false;
  CompileImage(program);
  return true;
}

}  // namespace pendra2::flowchart
