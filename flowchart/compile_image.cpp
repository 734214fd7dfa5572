#include <algorithm>

#include "board_image/layout.h"
#include "flowchart/image_encoding.h"
#include "flowchart/recompute.h"

namespace pendra2::flowchart {
namespace {

namespace op = board_image::op;
using board_image::FixedLength;

constexpr int32_t kCodeBytes = static_cast<int32_t>(kStepCodeSize);

uint8_t Lo(int32_t v) {
  return static_cast<uint8_t>(v & 0xFF);
}
uint8_t Hi(int32_t v) {
  return static_cast<uint8_t>((v >> 8) & 0xFF);
}

// Appends to the image and silently drops anything past its end; Recompute only compiles
// programs that fit, this keeps a direct call on a damaged table inside the 512 bytes too.
class ImageAppender {
 public:
  explicit ImageAppender(BoardImage& image) : image_(image) {}
  void Put(uint8_t byte) {
    if (pos_ < kImageBytes) image_[pos_] = byte;
    ++pos_;
  }
  void Put16(int32_t v) {
    Put(Lo(v));
    Put(Hi(v));
  }
  int32_t Position() const { return pos_; }

 private:
  BoardImage& image_;
  int32_t pos_ = 0;
};

// Where step t's bytes begin. Jump targets outside 1..count - 1 have no address of their own;
// they are bounded into that range (step 0 emits nothing, so 0 would mean step 1 anyway).
int32_t AddressOfTarget(const FlowProgram& program, int count, int32_t target) {
  const int32_t t = std::clamp(target, int32_t{1}, static_cast<int32_t>(std::max(count - 1, 1)));
  return program.endAddress[t - 1];
}

int32_t AddressOfStep(const FlowProgram& program, int index) {
  return index > 0 ? program.endAddress[index - 1] : 0;
}

// The loop body begins right after the matching 'l' pair: the nearest earlier LoopStart of
// the same depth (nested pairs in between are deeper). An unmatched end jumps to 2.
int32_t BackAddress(const FlowProgram& program, int loopEnd) {
  const int32_t depth = program.steps[loopEnd].depth;
  for (int k = loopEnd - 1; k >= 0; --k) {
    const StepRecord& s = program.steps[k];
    if (s.Is(StepKind::LoopStart) && s.depth == depth) return AddressOfStep(program, k) + 2;
  }
  return 2;
}

}  // namespace

int StepsInTable(const FlowProgram& program) {
  return std::clamp(program.count, int32_t{0}, static_cast<int32_t>(kStepSlots));
}

int32_t EncodedSize(const StepRecord& step) {
  switch (step.Kind()) {
    case StepKind::Orgel:
    case StepKind::Wait:
      return std::clamp(step.size, int32_t{0}, kCodeBytes);
    case StepKind::LoopStart:
      return FixedLength(op::kLoopStart);
    case StepKind::LoopEnd:
      return FixedLength(op::kLoopEnd);
    case StepKind::Branch:
      if (step.channel >= 3) return 0;
      // An operation the branch lacks writes its operands without a letter.
      return FixedLength(op::kAtOrAbove) - ((step.op == 1 || step.op == 2) ? 0 : 1);
    case StepKind::Output:
      return FixedLength(op::kOutput);
    case StepKind::Goto:
      return FixedLength(op::kAtOrAbove);
    case StepKind::ExtOutput:
      return FixedLength(op::kExtOutput);
    case StepKind::Compare:
      return FixedLength(op::kCompare);
    case StepKind::Variable:
      return FixedLength(step.channel == 0 ? op::kVariableA : op::kVariableB);
    case StepKind::VarCompare:
      return FixedLength(op::kVarCompare);
    default:
      return 0;
  }
}

void CompileImage(FlowProgram& program) {
  program.image.fill(board_image::kUnwritten);
  ImageAppender out(program.image);
  const int count = StepsInTable(program);
  for (int i = 0; i < count; ++i) {
    const StepRecord& step = program.steps[i];
    switch (step.Kind()) {
      case StepKind::Orgel:
      case StepKind::Wait: {
        const int32_t n = EncodedSize(step);
        for (int32_t b = 0; b < n; ++b) out.Put(step.code[b]);
        break;
      }
      case StepKind::LoopStart:
        out.Put(op::kLoopStart);
        // Sent as count - 1, so 0 goes out as 255; computed unsigned so any stored count wraps.
        out.Put(static_cast<uint8_t>((static_cast<uint32_t>(step.loopCount) - 1u) & 0xFF));
        break;
      case StepKind::LoopEnd:
        out.Put(op::kLoopEnd);
        out.Put(Lo(step.depth));
        out.Put16(BackAddress(program, i));
        break;
      case StepKind::Branch:
        if (step.channel >= 3) break;
        // The image letters are the reverse of the record's informational copy.
        if (step.op == 1) out.Put(op::kAtOrAbove);
        if (step.op == 2) out.Put(op::kBelow);
        out.Put(Lo(step.channel));
        out.Put16(step.value);
        out.Put16(AddressOfTarget(program, count, step.target));
        break;
      case StepKind::Output:
        out.Put(op::kOutput);
        out.Put(Lo(step.channel));
        out.Put(Lo(step.value));
        break;
      case StepKind::Goto:
        // The same form as an always-true "input 0 at or above 0" branch.
        out.Put(op::kAtOrAbove);
        out.Put(0);
        out.Put16(0);
        out.Put16(AddressOfTarget(program, count, step.target));
        break;
      case StepKind::ExtOutput:
        out.Put(op::kExtOutput);
        out.Put(Lo(step.channel));
        break;
      case StepKind::Compare:
      case StepKind::VarCompare:
        out.Put(step.Is(StepKind::Compare) ? op::kCompare : op::kVarCompare);
        out.Put(Lo(step.op));
        out.Put16(step.value);
        out.Put16(AddressOfTarget(program, count, step.target));
        break;
      case StepKind::Variable:
        out.Put(step.channel == 0 ? op::kVariableA : op::kVariableB);
        out.Put(Lo(step.op));
        out.Put16(step.value);
        break;
      default:
        break;
    }
  }
  const int32_t end = std::min(out.Position(), kImageBytes - 1);
  program.image[end] = op::kEnd;
  program.imageSize = out.Position();
}

}  // namespace pendra2::flowchart
