#include "melody/edit_commands.h"

#include <algorithm>
#include <string>

#include "melody/column_clip.h"
#include "melody/column_selection.h"
#include "melody/score_edits.h"
#include "melody/score_geometry.h"

namespace pendra2::melody {
namespace {

// The message with its two "%d" filled in, in order.
interaction::UserMessage WithNumbers(const interaction::MessageText& message, int a, int b) {
  interaction::UserMessage filled = message;
  for (const int n : {a, b}) {
    const auto at = filled.text.find("%d");
    if (at == std::string::npos) break;
    filled.text = filled.text.substr(0, at).append(std::to_string(n)).append(filled.text, at + 2);
  }
  return filled;
}

interaction::UserMessage HalfLoop(std::string_view caption) {
  return {std::string(kHalfLoopText), std::string(caption), interaction::PromptIcon::Warning};
}

// What every command of the menu does first: a mode waiting for its click would act on
// columns that may no longer be where the user saw them.
void EndModeAndSelection(MelodyState& state) {
  state.editMode = kEditMode;
  state.selection.Clear();
}

// The view moves to show column p when it is out of view, a little room left before it.
void ShowColumn(MelodyState& state, int p) {
  if (p >= state.scrollPos && p < state.scrollPos + kVisibleColumns) return;
  state.scrollPos = std::clamp(p - 2, 0, kMaxScrollPos);
}

bool MoveInHistory(MelodyState& state, bool forward) {
  Score& score = state.score;
  const Cells before = score.cells;
  if (!(forward ? state.history.Redo(score) : state.history.Undo(score))) return false;
  EndModeAndSelection(state);
  // What came back is shown, or taken away where it was.
  const auto changed = std::mismatch(before.begin(), before.end(), score.cells.begin());
  if (changed.first != before.end())
    ShowColumn(state, static_cast<int>(changed.first - before.begin()));
  return true;
}

// Copies the selection when it holds its loops whole; `caption` names the command refused.
interaction::Outcome CopyInto(const MelodyState& state, ColumnClipboard& clipboard,
                              std::string_view caption) {
  const ColumnSelection& selection = state.selection;
  if (selection.empty()) return {};
  if (!HoldsWholeLoops(state.score.cells, selection.first, selection.last))
    return HalfLoop(caption);
  const ColumnClip clip = ClipOf(state.score.cells, selection.first, selection.last);
  clipboard.Put(EncodeClip(clip), ClipText(clip));
  return {};
}

}  // namespace

bool MayUndo(const MelodyState& state) {
  return state.history.CanUndo();
}

bool MayRedo(const MelodyState& state) {
  return state.history.CanRedo();
}

bool MayCutOrCopy(const MelodyState& state) {
  return !state.selection.empty();
}

bool MaySelectAll(const MelodyState& state) {
  return TuneEnd(state.score.cells) > 0;
}

bool UndoEdit(MelodyState& state) {
  return MoveInHistory(state, false);
}

bool RedoEdit(MelodyState& state) {
  return MoveInHistory(state, true);
}

interaction::Outcome CopyColumns(const MelodyState& state, ColumnClipboard& clipboard) {
  return CopyInto(state, clipboard, kCopyCaption);
}

interaction::Outcome CutColumns(MelodyState& state, ColumnClipboard& clipboard) {
  if (state.selection.empty()) return {};
  interaction::Outcome copied = CopyInto(state, clipboard, kCutCaption);
  if (!copied.ok()) return copied;
  const TuneDocument before = DocumentOf(state.score);
  RemoveColumns(state.score, state.selection.first, state.selection.last);
  state.history.Record(ScoreEdit::kCut, before, state.score);
  EndModeAndSelection(state);
  return {};
}

interaction::Outcome PasteColumns(MelodyState& state, const ColumnClipboard& clipboard) {
  const auto bytes = clipboard.Columns();
  if (!bytes) return {};
  const DecodedClip decoded = DecodeClip(*bytes);
  switch (decoded.trouble) {
    case ClipTrouble::kNone:
      break;
    case ClipTrouble::kNewerVersion:
      return kClipNewerMessage;
    case ClipTrouble::kDamaged:
      return kClipDamagedMessage;
  }
  const ColumnClip& clip = decoded.clip;
  const int at = state.selection.empty() ? TuneEnd(state.score.cells) : state.selection.first;
  const int room = RoomAt(state.score.cells, at);
  if (clip.count > room) return WithNumbers(kPasteNoRoomMessage, clip.count, room);
  const TuneDocument before = DocumentOf(state.score);
  InsertClip(state.score, at, clip);
  state.history.Record(ScoreEdit::kPaste, before, state.score);
  EndModeAndSelection(state);
  SelectColumns(state.selection, state.score.cells, at, at + clip.count - 1);
  ShowColumn(state, at);
  return {};
}

bool SelectAllColumns(MelodyState& state) {
  state.editMode = kEditMode;
  return SelectWholeTune(state.selection, state.score.cells);
}

bool ChangeTempo(MelodyState& state, int index) {
  const TuneDocument before = DocumentOf(state.score);
  if (!ChooseTempo(state.score, index)) return false;
  state.history.Record(ScoreEdit::kTempo, before, state.score);
  return true;
}

}  // namespace pendra2::melody
