#include "melody/score_editor.h"

#include <algorithm>

#include "melody/column_selection.h"
#include "melody/loop_marks.h"
#include "melody/loop_placement.h"
#include "melody/score_edits.h"

namespace pendra2::melody {
namespace {

constexpr int kLinePage = 20;

interaction::Prompt YesNo(const interaction::MessageText& text) {
  return interaction::Prompt{std::string(text.text), std::string(text.caption),
                             interaction::PromptButtons::YesNo, interaction::PromptIcon::Question};
}

// Each click below sets `edit` to what it did to the tune, for the undo history.
ReleaseEffect EditClick(MelodyState& state, int x, int y, bool found,
                        interaction::Prompter& prompter, CountDialogs& dialogs,
                        std::optional<ScoreEdit>& edit) {
  ReleaseEffect effect;
  if (x <= kKeyboardRight) {
    if (const auto note = KeyAt(x, y)) {
      effect.sends = ToggleLiveNote(state.liveNote, *note, found, state.playback.playState);
    }
    return effect;
  }
  const auto column = GridColumn(x, state.scrollPos);
  const auto code = GridRowCode(y);
  if (!column || !code) return effect;
  Score& score = state.score;
  switch (ClassifyGridClick(score.cells, *column)) {
    case GridClick::kParameterCell:
      score.modified = true;
      return effect;
    case GridClick::kLoopCount:
      if (const auto count = dialogs.AskLoopCount(LoopCount(score.cells, *column))) {
        SetLoopCount(score, *column, *count);
        edit = ScoreEdit::kLoopCount;
      }
      score.modified = true;
      effect.redraw = true;
      return effect;
    case GridClick::kLoopJump:
      if (prompter.Ask(YesNo(kJumpToLoopStartQuestion)) == interaction::PromptAnswer::Yes) {
        state.scrollPos = LoopJumpScroll(score.cells, *column);
        effect.scrollMoved = true;
        effect.redraw = true;
      }
      score.modified = true;
      return effect;
    case GridClick::kNote:
      break;
  }
  const auto placed = ToggleNote(score, *column, *code);
  edit = ScoreEdit::kNote;
  effect.sends = NoteEntrySounds(placed, found, state.playback.playState);
  effect.redraw = true;
  return effect;
}

void InsertClick(MelodyState& state, int x, CountDialogs& dialogs, std::optional<ScoreEdit>& edit) {
  const auto column = GridColumn(x, state.scrollPos);
  if (!column) return;
  const int k = dialogs.AskColumnCount(kInsertDialog);
  if (k > 0) {
    InsertColumns(state.score, *column, k);
    edit = ScoreEdit::kInsertColumns;
  }
  state.score.modified = true;
}

void DeleteClick(MelodyState& state, int x, interaction::Prompter& prompter, CountDialogs& dialogs,
                 std::optional<ScoreEdit>& edit) {
  const auto column = GridColumn(x, state.scrollPos);
  if (!column) return;
  if (IsLoopMarkColumn(state.score.cells, *column)) {
    if (prompter.Ask(YesNo(kRemoveLoopQuestion)) == interaction::PromptAnswer::Yes) {
      RemoveLoop(state.score, *column);
      edit = ScoreEdit::kLoopRemoved;
    }
  } else {
    const int k = dialogs.AskColumnCount(kDeleteDialog);
    if (k > 0) {
      DeleteColumns(state.score, *column, k);
      edit = ScoreEdit::kDeleteColumns;
    }
  }
  state.score.modified = true;
}

// The loop-start mode: the count first, then the mark; the loop-end mode follows.
void LoopStartClick(MelodyState& state, int x, interaction::Prompter& prompter,
                    CountDialogs& dialogs, std::optional<ScoreEdit>& edit) {
  const auto column = GridColumn(x, state.scrollPos);
  if (!column) return;
  const auto count = dialogs.AskLoopCount(1);
  if (!count) {
    state.editMode = kEditMode;
    return;
  }
  if (!PlaceLoopStart(state.score, *column, *count)) {
    prompter.Ask(interaction::MessagePrompt(kNoRoomForLoopMessage));
    state.editMode = kEditMode;
    return;
  }
  edit = ScoreEdit::kLoopStart;
  state.editMode = kLoopEndMode;
}

// The loop-end mode closes the innermost open loop before the click; a click that has no
// open loop before it leaves the mode as it is.
void LoopEndClick(MelodyState& state, int x, interaction::Prompter& prompter,
                  std::optional<ScoreEdit>& edit) {
  const auto column = GridColumn(x, state.scrollPos);
  if (!column) return;
  const int start = OpenLoopBefore(state.score.cells, *column);
  // A loop needs a body: its end goes after at least one column past the count.
  if (start < 0 || MarkStart(state.score.cells, *column) <= start + 2) return;
  if (PlaceLoopEnd(state.score, *column)) {
    edit = ScoreEdit::kLoopEnd;
    state.editMode = kEditMode;
  } else {
    prompter.Ask(interaction::MessagePrompt(kNoRoomForLoopMessage));
  }
}

ReleaseEffect Release(MelodyState& state, int x, int y, bool found, interaction::Prompter& prompter,
                      CountDialogs& dialogs, std::optional<ScoreEdit>& edit) {
  // Below the grid's last row lies no row, and so no column to act on, whatever the column
  // above holds: no mode edits, asks or offers anything there. The keyboard picture beside
  // the grid has its own keys.
  const bool offTheRows = x > kKeyboardRight && !GridRowCode(y);
  switch (state.editMode) {
    case kEditMode:
      if (offTheRows) return {};
      return EditClick(state, x, y, found, prompter, dialogs, edit);
    case kInsertMode:
    case kDeleteMode: {
      // The mode lasts for one release, whatever that release did; a release beside the
      // grid columns asks nothing and changes nothing.
      const int mode = state.editMode;
      state.editMode = kEditMode;
      if (offTheRows) {
        // Nothing but the end of the mode.
      } else if (mode == kInsertMode) {
        InsertClick(state, x, dialogs, edit);
      } else {
        DeleteClick(state, x, prompter, dialogs, edit);
      }
      ReleaseEffect effect;
      effect.redraw = true;
      return effect;
    }
    case kLoopStartMode:
    case kLoopEndMode: {
      if (offTheRows) {
        // The mode stays for a click on a column.
      } else if (state.editMode == kLoopStartMode) {
        LoopStartClick(state, x, prompter, dialogs, edit);
      } else {
        LoopEndClick(state, x, prompter, edit);
      }
      ReleaseEffect effect;
      effect.redraw = true;
      return effect;
    }
    default:
      return {};
  }
}

}  // namespace

ReleaseEffect ReleaseInScore(MelodyState& state, int x, int y, bool found,
                             interaction::Prompter& prompter, CountDialogs& dialogs) {
  ColumnSelection& selection = state.selection;
  if (selection.anchor >= 0) {
    // The end of a drag along the numbers: the columns stay selected.
    selection.anchor = -1;
    ReleaseEffect effect;
    effect.redraw = true;
    return effect;
  }
  const bool wasSelected = !selection.empty();
  selection.Clear();
  const TuneDocument before = DocumentOf(state.score);
  std::optional<ScoreEdit> edit;
  ReleaseEffect effect = Release(state, x, y, found, prompter, dialogs, edit);
  if (edit) state.history.Record(*edit, before, state.score);
  effect.redraw = effect.redraw || wasSelected;
  return effect;
}

bool PressInScore(MelodyState& state, int x, int y) {
  if (state.editMode != kEditMode) return false;
  const auto column = NumberStripColumn(x, y, state.scrollPos);
  if (!column) return false;
  state.selection.anchor = *column;
  SelectColumns(state.selection, state.score.cells, *column, *column);
  return true;
}

DragEffect DragInScore(MelodyState& state, int x) {
  ColumnSelection& selection = state.selection;
  if (selection.anchor < 0) return {};
  DragEffect effect;
  effect.redraw = true;
  int& scroll = state.scrollPos;
  int column = 0;
  // Past either end of the grid the view moves a column a move, so the drag reaches the
  // columns out of view.
  if (x > kGridRight) {
    effect.scrollMoved = scroll < kMaxScrollPos;
    scroll = ScrollAfter(scroll, ScrollStep::kLineRight);
    column = scroll + kVisibleColumns - 1;
  } else if (x <= kGridLeft) {
    effect.scrollMoved = scroll > 0;
    scroll = ScrollAfter(scroll, ScrollStep::kLineLeft);
    column = scroll;
  } else {
    column = GridColumn(x, scroll).value_or(scroll);
  }
  SelectColumns(selection, state.score.cells, selection.anchor, column);
  return effect;
}

bool MoveInScore(MelodyState& state, int x, int y) {
  if (state.playback.playMode != kNoPlayback) return false;
  int key = 0;
  if (x > kGridLeft && x <= kGridRight && y >= 1 && y <= kGridBottom) {
    key = y / kRowHeight;
    const bool changed = key != state.hoverKey;
    state.hoverKey = key;
    return changed;
  }
  if (x <= kKeyboardRight) {
    if (const auto note = KeyAt(x, y)) key = kRest - *note;
  }
  state.hoverKey = key;
  return true;
}

const char* ModeCursorName(int editMode) {
  switch (editMode) {
    case kInsertMode:
      return "CURINS";
    case kDeleteMode:
      return "CURDEL";
    case kLoopStartMode:
      return "CURLIN";
    case kLoopEndMode:
      return "CURLEND";
    default:
      return nullptr;
  }
}

int ScrollAfter(int scrollPos, ScrollStep step, int thumb) {
  switch (step) {
    case ScrollStep::kLineLeft:
      return std::max(scrollPos - 1, 0);
    case ScrollStep::kLineRight:
      return std::min(scrollPos + 1, kMaxScrollPos);
    case ScrollStep::kPageLeft:
      return std::max(scrollPos - kLinePage, 0);
    case ScrollStep::kPageRight:
      return std::min(scrollPos + kLinePage, kMaxScrollPos);
    case ScrollStep::kThumb:
      // The bar's range keeps real thumbs inside it; a position from anywhere else is
      // kept inside too, so the view never shows columns that do not exist.
      return std::clamp(thumb, 0, kMaxScrollPos);
  }
  return scrollPos;
}

}  // namespace pendra2::melody
