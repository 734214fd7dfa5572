#pragma once
// How Stepcraft's editing asks for a step's settings: one call per dialog template. Each
// call opens its dialog modally on program.steps[program.currentStep] (the caller sets
// currentStep first), stores the dialog's fields there on OK and marks the program changed;
// Cancel stores nothing. The Qt side shows real dialogs, tests script the answers.

#include <cstdint>
#include <optional>

namespace pendra2::flowchart {
struct FlowProgram;
}

namespace pendra2::interaction {

enum class DialogResult { Ok, Cancel };

class StepDialogs {
 public:
  virtual ~StepDialogs() = default;
  virtual DialogResult Wait(flowchart::FlowProgram& program) = 0;   // 184
  virtual DialogResult Orgel(flowchart::FlowProgram& program) = 0;  // 185
  // 186: given the step's loopCount, returns the count to store, or nothing on Cancel.
  virtual std::optional<int32_t> LoopCount(int32_t loopCount) = 0;
  virtual DialogResult Branch(flowchart::FlowProgram& program) = 0;      // 207
  virtual DialogResult Output(flowchart::FlowProgram& program) = 0;      // 208
  virtual DialogResult Goto(flowchart::FlowProgram& program) = 0;        // 214
  virtual DialogResult Compare(flowchart::FlowProgram& program) = 0;     // 215
  virtual DialogResult ExtOutput(flowchart::FlowProgram& program) = 0;   // 216
  virtual DialogResult VariableA(flowchart::FlowProgram& program) = 0;   // 231
  virtual DialogResult VarCompare(flowchart::FlowProgram& program) = 0;  // 232
  virtual DialogResult VariableB(flowchart::FlowProgram& program) = 0;   // 233
};

}  // namespace pendra2::interaction
