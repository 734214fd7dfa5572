#include "flowchart/edit_history.h"

#include <algorithm>
#include <cstring>

#include "flowchart/recompute.h"
#include "flowchart/step_blocks.h"

namespace pendra2::flowchart {
namespace {

// One unit per step record, and a first one for the count and the tempo.
constexpr std::size_t kUnit = sizeof(StepRecord);
constexpr std::size_t kDocumentBytes = kUnit * (1 + kStepSlots);

void Write(const FlowProgram& program, std::vector<uint8_t>& bytes) {
  bytes.assign(kDocumentBytes, 0);
  std::memcpy(bytes.data(), &program.count, sizeof program.count);
  std::memcpy(bytes.data() + sizeof program.count, &program.tempoIndex, sizeof program.tempoIndex);
  std::memcpy(bytes.data() + kUnit, program.steps.data(), kUnit * kStepSlots);
}

void Read(const std::vector<uint8_t>& bytes, FlowProgram& program) {
  std::memcpy(&program.count, bytes.data(), sizeof program.count);
  std::memcpy(&program.tempoIndex, bytes.data() + sizeof program.count, sizeof program.tempoIndex);
  std::memcpy(program.steps.data(), bytes.data() + kUnit, kUnit * kStepSlots);
}

}  // namespace

EditHistory::EditHistory() : history_(kUnit, 200) {}

void EditHistory::Reset(const FlowProgram& program) {
  Write(program, bytes_);
  history_.Reset(bytes_);
}

bool EditHistory::Record(std::string label, const FlowProgram& program) {
  Write(program, bytes_);
  return history_.Record(std::move(label), bytes_);
}

bool EditHistory::Undo(StepcraftState& state) {
  Write(state.program, bytes_);
  if (!history_.Undo(bytes_)) return false;
  Restored(state);
  return true;
}

bool EditHistory::Redo(StepcraftState& state) {
  Write(state.program, bytes_);
  if (!history_.Redo(bytes_)) return false;
  Restored(state);
  return true;
}

void EditHistory::Restored(StepcraftState& state) {
  FlowProgram& program = state.program;
  Read(bytes_, program);
  Recompute(program);
  program.modified = !history_.AtSaved();
  ClearSelection(state);
  state.breakpoints.reset();
  state.anchorStep = std::clamp(state.anchorStep, 0, program.count - 1);
  state.topStep = std::clamp(state.topStep, 0, std::max(program.count - 1, 0));
}

}  // namespace pendra2::flowchart
