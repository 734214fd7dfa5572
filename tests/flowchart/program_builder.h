#pragma once
// Programs put together the way the editor leaves them.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "flowchart/flow_program.h"
#include "flowchart/recompute.h"
#include "flowchart/step_code.h"

namespace pendra2::flowchart::testing {

using K = StepKind;

// A step with its fields set as its dialog sets them, and the code copy written.
inline StepRecord Step(K kind, int32_t value = 0, int32_t op = 0, int32_t channel = 0,
                       int32_t target = 0) {
  StepRecord s;
  s.kind = static_cast<int32_t>(kind);
  s.value = value;
  s.op = op;
  s.channel = channel;
  s.target = target;
  WriteStepCode(s);
  return s;
}

inline StepRecord Loop(int32_t loopCount) {
  StepRecord s = Step(K::LoopStart);
  s.loopCount = loopCount;
  WriteLoopStartCode(s);
  return s;
}

inline StepRecord LoopEnd() {
  StepRecord s = Step(K::LoopEnd);
  s.depth = 2;  // what the editor writes at insertion; recompute corrects it
  return s;
}

// Start, the given steps, End; recomputed.
inline void Build(FlowProgram& p, const std::vector<StepRecord>& body) {
  NewProgram(p);
  int i = 1;
  for (const auto& s : body) p.steps[i++] = s;
  p.steps[i] = Step(K::End);
  p.count = i + 1;
  Recompute(p);
}

// A program is too large for the stack.
class ProgramTest : public ::testing::Test {
 protected:
  std::unique_ptr<FlowProgram> owned = std::make_unique<FlowProgram>();
  FlowProgram& p = *owned;
};

}  // namespace pendra2::flowchart::testing
