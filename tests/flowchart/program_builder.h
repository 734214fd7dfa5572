#pragma once
// Small helpers that put programs together the way the editor leaves them.

#include <initializer_list>

#include "flowchart/flow_program.h"
#include "flowchart/recompute.h"
#include "flowchart/step_code.h"

namespace pendra2::flowchart::testing {

inline StepRecord Step(StepKind kind) {
  StepRecord s;
  s.kind = static_cast<int32_t>(kind);
  return s;
}

inline StepRecord Loop(int32_t loopCount) {
  StepRecord s = Step(StepKind::LoopStart);
  s.loopCount = loopCount;
  s.size = 2;
  WriteLoopStartCode(s);
  return s;
}

inline StepRecord LoopEnd() {
  StepRecord s = Step(StepKind::LoopEnd);
  s.size = 4;
  s.depth = 2;  // what the editor writes at insertion; recompute corrects it
  WriteLoopEndCode(s);
  return s;
}

inline StepRecord Output(int32_t channel, int32_t value) {
  StepRecord s = Step(StepKind::Output);
  s.channel = channel;
  s.value = value;
  s.size = 3;
  return s;
}

inline StepRecord Wait(int32_t halfSeconds) {
  StepRecord s = Step(StepKind::Wait);
  s.value = halfSeconds;
  WriteWaitCode(s);
  return s;
}

inline StepRecord Jump(StepKind kind, int32_t target, int32_t op = 0, int32_t value = 0,
                       int32_t channel = 0) {
  StepRecord s = Step(kind);
  s.target = target;
  s.op = op;
  s.value = value;
  s.channel = channel;
  s.size = 6;
  WriteStepCode(s);
  return s;
}

inline StepRecord Variable(int32_t channel, int32_t op, int32_t value) {
  StepRecord s = Step(StepKind::Variable);
  s.channel = channel;
  s.op = op;
  s.value = value;
  s.size = 4;
  WriteVariableCode(s);
  return s;
}

// Start, the given steps, End; recomputed.
inline void Build(FlowProgram& p, std::initializer_list<StepRecord> body) {
  NewProgram(p);
  int i = 1;
  for (const auto& s : body) p.steps[i++] = s;
  p.steps[i] = Step(StepKind::End);
  p.count = i + 1;
  Recompute(p);
}

}  // namespace pendra2::flowchart::testing
