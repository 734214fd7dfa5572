#include "flowchart/step_code.h"

#include <algorithm>
#include <cstring>

#include "board_image/layout.h"

namespace pendra2::flowchart {
namespace {

// A wait's code is the very tune the image carries for it; the other kinds keep an
// informational copy in the record that the compiler does not read.
namespace op = board_image::op;

uint8_t Lo(int32_t v) {
  return static_cast<uint8_t>(v & 0xFF);
}
uint8_t Hi(int32_t v) {
  return static_cast<uint8_t>((v >> 8) & 0xFF);
}

// Letter, selector, then the value high byte first: the layout the record has always used.
void WriteLetterSelectorValue(StepRecord& step, uint8_t letter, int32_t selector) {
  step.code[0] = letter;
  step.code[1] = Lo(selector);
  step.code[2] = Hi(step.value);
  step.code[3] = Lo(step.value);
}

}  // namespace

void WriteWaitCode(StepRecord& step) {
  step.value = std::clamp(step.value, int32_t{0}, kMaxWaitValue);
  step.code[0] = op::kTune;
  step.code[1] = board_image::kHalfSecondTempo;
  std::fill_n(step.code.begin() + 2, step.value, board_image::kRest);
  step.size = step.value + 2;
}

void WriteLoopStartCode(StepRecord& step) {
  step.code[0] = op::kLoopStart;
  step.code[1] = Lo(step.loopCount);
}

void WriteLoopEndCode(StepRecord& step) {
  step.code[0] = op::kLoopEnd;
  step.code[1] = Lo(step.depth);
}

void WriteBranchCode(StepRecord& step) {
  // The record's copy names the operations the other way round from the image.
  if (step.op == 1) {
    step.code[0] = op::kBelow;
  } else if (step.op == 2) {
    step.code[0] = op::kAtOrAbove;
  }
  step.code[1] = Lo(step.channel);
  step.code[2] = Hi(step.value);
  step.code[3] = Lo(step.value);
}

void WriteOutputCode(StepRecord& step) {
  step.code[0] = op::kOutput;
  step.code[1] = Lo(step.channel);
  step.code[3] = Lo(step.value);
}

void WriteGotoCode(StepRecord& step) {
  step.code[0] = op::kBelow;
  step.code[1] = 0;
  step.code[2] = 0;
  step.code[3] = 0;
}

void WriteExtOutputCode(StepRecord& step) {
  step.code[0] = op::kExtOutput;
  step.code[1] = Lo(step.channel);
}

void WriteCompareCode(StepRecord& step) {
  WriteLetterSelectorValue(step, op::kCompare, step.op);
}

void WriteVariableCode(StepRecord& step) {
  WriteLetterSelectorValue(step, step.channel == 0 ? op::kVariableA : op::kVariableB, step.op);
}

void WriteVarCompareCode(StepRecord& step) {
  WriteLetterSelectorValue(step, op::kVarCompare, step.op);
}

void WriteStepCode(StepRecord& step) {
  switch (step.Kind()) {
    case StepKind::Wait:
      WriteWaitCode(step);
      break;
    case StepKind::LoopStart:
      WriteLoopStartCode(step);
      break;
    case StepKind::LoopEnd:
      WriteLoopEndCode(step);
      break;
    case StepKind::Branch:
      WriteBranchCode(step);
      break;
    case StepKind::Output:
      WriteOutputCode(step);
      break;
    case StepKind::Goto:
      WriteGotoCode(step);
      break;
    case StepKind::ExtOutput:
      WriteExtOutputCode(step);
      break;
    case StepKind::Compare:
      WriteCompareCode(step);
      break;
    case StepKind::Variable:
      WriteVariableCode(step);
      break;
    case StepKind::VarCompare:
      WriteVarCompareCode(step);
      break;
    default:
      break;
  }
}

bool StoreTunePath(StepRecord& step, std::string_view sjisPath) {
  if (sjisPath.size() >= kTunePathCapacity || sjisPath.find('\0') != std::string_view::npos) {
    return false;
  }
  auto* dest = step.code.data() + kTunePathOffset;
  std::memcpy(dest, sjisPath.data(), sjisPath.size());
  dest[sjisPath.size()] = 0;
  return true;
}

}  // namespace pendra2::flowchart
