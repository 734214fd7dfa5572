#include "flowchart/view/step_row.h"

#include <cstdio>

namespace pendra2::flowchart::view {
namespace {

std::string SymbolName(const StepRecord& step) {
  switch (step.Kind()) {
    case StepKind::Start:
      return "S_START";
    case StepKind::Orgel:
      return "S_TASK";
    case StepKind::Wait:
      return "S_WAIT";
    case StepKind::LoopStart:
      if (step.depth == 1) return "S_LOOPIN";
      if (step.depth == 2) return "S_LOOPIN2";
      if (step.depth == 3) return "S_LOOPIN3";
      return {};
    case StepKind::LoopEnd:
      if (step.depth == 1) return "S_LOOPOUT";
      if (step.depth == 2) return "S_LOOPOUT2";
      if (step.depth == 3) return "S_LOOPOUT3";
      return {};
    case StepKind::Branch:
      if (step.channel == 0) return "S_BLANCH1";
      if (step.channel == 1) return "S_BLANCH2";
      return "S_BLANCH3";
    case StepKind::Output:
      return "S_TASK2";
    case StepKind::Goto:
      return "S_GOTO";
    case StepKind::ExtOutput:
      return "S_TASK2";
    case StepKind::Compare:
      return "S_BLANCH";
    case StepKind::Variable:
      return "S_ACCM";
    case StepKind::VarCompare:
      return "S_BLANCHA";
    case StepKind::End:
      return "S_END";
  }
  return {};
}

// Where the caption's text cell starts in a row whose origin is r = 0.
interaction::Point CaptionAt(const StepRecord& step) {
  switch (step.Kind()) {
    case StepKind::Orgel:
      return {42, 66};
    case StepKind::Wait:
      return {68, 68};
    case StepKind::LoopStart:
      return {68, 66};
    case StepKind::Branch:
      return {63, 66};
    case StepKind::Output:
      return step.channel == 0 ? interaction::Point{60, 66} : interaction::Point{45, 66};
    case StepKind::Goto:
      return {60, 66};
    case StepKind::ExtOutput:
      return {45, 66};
    case StepKind::Compare:
      return {73, 60};
    case StepKind::Variable:
      return {50, 65};
    case StepKind::VarCompare:
      return {63, 60};
    default:
      return {};
  }
}

}  // namespace

bool IsJump(const StepRecord& step) {
  return step.Is(StepKind::Branch) || step.Is(StepKind::Goto) || step.Is(StepKind::Compare) ||
         step.Is(StepKind::VarCompare);
}

std::string ThreeDigits(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%03d", value);
  return buffer;
}

StepRow StepRowFor(const StepRecord& step, bool highlighted, const ShiftJisDecoder& decode) {
  StepRow row;
  row.symbol = SymbolName(step);
  if (highlighted && !row.symbol.empty()) row.symbol += "_S";
  row.caption = {StepCaption(step, decode), CaptionAt(step)};
  if (step.Is(StepKind::Branch) || step.Is(StepKind::Compare) || step.Is(StepKind::VarCompare)) {
    row.target = {ThreeDigits(step.target), {110, 72}};
  }
  return row;
}

}  // namespace pendra2::flowchart::view
