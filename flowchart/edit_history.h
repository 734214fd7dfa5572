#pragma once
// Stepcraft's undo and redo: the program's document (its step table, every unused slot
// included, its count and its tempo: what a save writes beyond the header kept from the
// last load) before and after each operation that changed it.

#include <string>
#include <string_view>

#include "flowchart/stepcraft_state.h"
#include "interaction/undo_history.h"

namespace pendra2::flowchart {

class EditHistory {
 public:
  EditHistory();

  // A new or loaded program: the history starts again, from what is saved.
  void Reset(const FlowProgram& program);
  // An operation named `label` is done; no step when it changed no byte.
  bool Record(std::string label, const FlowProgram& program);
  // The program has just been saved.
  void MarkSaved() { history_.MarkSaved(); }

  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }
  std::string_view UndoLabel() const { return history_.UndoLabel(); }
  std::string_view RedoLabel() const { return history_.RedoLabel(); }

  // The program as it was, recomputed, changed exactly when it differs from what was last
  // saved or loaded; the selection and the breakpoints (which named steps that may be gone)
  // are cleared and the view kept inside the program.
  bool Undo(StepcraftState& state);
  bool Redo(StepcraftState& state);

 private:
  void Restored(StepcraftState& state);

  interaction::UndoHistory history_;
  std::vector<uint8_t> bytes_;
};

}  // namespace pendra2::flowchart
