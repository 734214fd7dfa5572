#include "melody/score_history.h"

#include <string>

namespace pendra2::melody {

void ScoreHistory::Reset(const Score& score) {
  history_.Reset(DocumentOf(score));
  loopStartLast_ = false;
}

bool ScoreHistory::Record(ScoreEdit edit, const TuneDocument& before, const Score& score) {
  const TuneDocument now = DocumentOf(score);
  if (now == before) return false;
  const bool closesLoop =
      edit == ScoreEdit::kLoopEnd && loopStartLast_ &&
      history_.UndoLabel() == std::string(1, static_cast<char>(ScoreEdit::kLoopStart));
  if (closesLoop) {
    // Back over the start's step (the score itself stays as it is), so the whole loop
    // replaces it as one step.
    TuneDocument scratch{};
    history_.Undo(scratch);
  }
  loopStartLast_ = edit == ScoreEdit::kLoopStart;
  return history_.Record(std::string(1, static_cast<char>(edit)), now);
}

std::optional<ScoreEdit> ScoreHistory::EditOf(std::string_view label) {
  if (label.size() != 1) return std::nullopt;
  return static_cast<ScoreEdit>(label.front());
}

bool ScoreHistory::MoveTo(Score& score, bool forward) {
  TuneDocument document = DocumentOf(score);
  if (!(forward ? history_.Redo(document) : history_.Undo(document))) return false;
  if (!RestoreDocument(score, document)) return false;
  score.modified = !history_.AtSaved();
  loopStartLast_ = false;
  return true;
}

bool ScoreHistory::Undo(Score& score) {
  return MoveTo(score, false);
}

bool ScoreHistory::Redo(Score& score) {
  return MoveTo(score, true);
}

}  // namespace pendra2::melody
