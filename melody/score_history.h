#pragma once
// The tune's undo history: every finished edit that changed the tune's bytes is one step,
// kept as the whole TuneDocument. An edit that changed no byte is no step.
//
// A loop is written with two clicks, its start and then its end; the end placed right after
// its start joins the start's step, so undo takes the whole loop away at once. A start left
// open (the user turned to something else) stays a step of its own.

#include <optional>

#include "interaction/undo_history.h"
#include "melody/score.h"
#include "melody/tune_document.h"

namespace pendra2::melody {

enum class ScoreEdit : char {
  kNote = 'n',
  kInsertColumns = 'i',
  kDeleteColumns = 'd',
  kLoopStart = 's',
  kLoopEnd = 'e',
  kLoopCount = 'c',
  kLoopRemoved = 'r',
  kTempo = 't',
  kCut = 'x',
  kPaste = 'v',
};

// Held well beyond what a child undoes in one go; a step is one small document.
inline constexpr std::size_t kUndoSteps = 200;

class ScoreHistory {
 public:
  ScoreHistory() { Reset(Score{}); }

  // A new or loaded score: no steps, and this is what was saved.
  void Reset(const Score& score);
  // `edit` took the tune from `before` to `score` as it is now. False: no byte changed, no
  // step.
  bool Record(ScoreEdit edit, const TuneDocument& before, const Score& score);

  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }
  std::optional<ScoreEdit> UndoEdit() const { return EditOf(history_.UndoLabel()); }
  std::optional<ScoreEdit> RedoEdit() const { return EditOf(history_.RedoLabel()); }

  // The tune before the last step, or after the last step undone, written over `score`; the
  // score counts as changed exactly when it is not what was last saved or loaded. False,
  // changing nothing, when there is no such step.
  bool Undo(Score& score);
  bool Redo(Score& score);

  // The score as it is now was saved.
  void MarkSaved() { history_.MarkSaved(); }

 private:
  static std::optional<ScoreEdit> EditOf(std::string_view label);
  bool MoveTo(Score& score, bool forward);

  interaction::UndoHistory history_{kTuneDocumentBytes, kUndoSteps};
  // The last step placed a loop's start and nothing came after it.
  bool loopStartLast_ = false;
};

}  // namespace pendra2::melody
