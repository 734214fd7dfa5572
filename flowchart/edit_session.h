#pragma once
// The flowchart window's editing: picking a tool, clicking a row (edit, delete or insert),
// scrolling and hovering. Everything runs on the StepcraftState; questions go through the
// Prompter and step settings through the StepDialogs, so the window only forwards its
// events and does what the returned update says.

#include <cstdint>
#include <optional>

#include "flowchart/screen_geometry.h"
#include "flowchart/stepcraft_state.h"
#include "interaction/prompter.h"
#include "interaction/step_dialogs.h"

namespace pendra2::flowchart {

// Scrolling: a page is the rows in view.
inline constexpr int kPageSteps = kVisibleRows;
inline constexpr int kMaxTopStep = 490;
inline constexpr int kMaxThumbPosition = 0xFFFF;

// Command ids the flowchart window handles besides the tools.
inline constexpr int kViewModeCommand = 2004;
inline constexpr int kDeleteToolCommand = 2014;

// The mouse cursors, by their resource names; None leaves the cursor as it is.
enum class EditCursor { None, CURDEL, CURINS, CURLIN, CURLEND };

// What the window has to do after an event.
struct WindowUpdate {
  bool repaintWindow = false;   // the flowchart window
  bool repaintToolbar = false;  // the symbol toolbar, after the window
  EditCursor cursor = EditCursor::None;
};

// The tool command's editMode, or nothing for an id that is not a tool command.
std::optional<EditMode> ToolForCommand(int commandId);
// The cursor a tool command sets, and the one shown while the mouse moves in that mode.
EditCursor ToolCursor(EditMode mode);
EditCursor MoveCursor(EditMode mode);

// Tool commands 2013..2025 (2014 deletes, the others insert). Returns false, changing
// nothing, for any other id; after a tool the window sets `ToolCursor(state.editMode)` and
// repaints both.
bool SelectTool(StepcraftState& state, int commandId);

// The view box (command 2004) chose entry `selection`: stored in viewMode; repaint.
WindowUpdate SelectViewMode(StepcraftState& state, int selection);

// The left button released at x, y in the flowchart window. A click on a row edits,
// deletes or inserts by editMode, then recomputes; a click beside the rows (or below the
// last step) does nothing and keeps the tool. A click on a step number (left of the
// symbols) sets or clears that step's breakpoint, whatever the tool. The window repaints
// both when told.
WindowUpdate Click(StepcraftState& state, int x, int y, interaction::Prompter& prompter,
                   interaction::StepDialogs& dialogs);

// Whether a click at x, y may change the program (a dialog, a deletion, an insertion), so
// that whatever runs the program's image stops first.
bool ClickMayEdit(const StepcraftState& state, int x, int y);

// A breakpoint can mark a step that runs: one with code, or the end.
bool MayBreakAt(const FlowProgram& program, int index);

// The row under a window y, counted from the top row (truncated toward zero, so the strip
// above the first row counts as row 0).
int RowAt(int y);

// Mouse movement: the cursor for editMode and the hover row; repaint when the row changed.
WindowUpdate MouseMove(StepcraftState& state, int x, int y);

enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Other };

struct ScrollUpdate {
  int rangeMax = 0;             // the bar's range is 0..rangeMax (count - 1)
  int position = 0;             // the bar's position: the new topStep
  bool repaintToolbar = false;  // line and page requests repaint both; every request the window
};

// The vertical scroll bar moved; `thumbPos` is the bar's position for thumb requests,
// taken as given (unclamped), as the bar reports it.
ScrollUpdate Scroll(StepcraftState& state, ScrollRequest request, int thumbPos);

// New document: the two-step program, image all 0xFF, first row at the top, clean,
// untitled. The tool, the view and tempoIndex stay as they are.
void NewDocument(StepcraftState& state);

// The two renumberings of jump targets after moving records, for count > 1; exposed for the
// file tools and tests. After an insertion at p + 1 targets >= p + 1 move up; after removing
// step p targets > p move down (a target of p then names the step that took its place).
void ShiftTargetsAfterInsert(FlowProgram& program, int p);
void ShiftTargetsAfterDelete(FlowProgram& program, int p);

// Loops nest this deep at most.
inline constexpr int32_t kLoopDepthLimit = 3;
// What an insertion (or a paste) past those limits says.
inline constexpr const char* kStepLimitText = "最大登録数を超えました。";
inline constexpr const char* kStepLimitCaption = "制限事項";
inline constexpr const char* kLoopDepthText = "「繰り返し」の入れ子は３重までです。";
// The steps whose target names a step: branches, gotos and comparisons.
bool IsJumpKind(const StepRecord& step);
// The loop mark that pairs with the one at `index`, or -1 when a damaged file left it none.
int LoopPartner(const FlowProgram& program, int index);
// Steps moved by `by` from index `from` on take their marks with them; a removed step's
// mark goes with it.
void MoveMarks(std::bitset<kStepSlots>& marks, int from, int by);
// What a click at x, y would do to the document, as its undo names it ("「待機」の挿入");
// empty for a click that edits nothing.
std::string EditLabel(const StepcraftState& state, int x, int y);

}  // namespace pendra2::flowchart
