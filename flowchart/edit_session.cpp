#include "flowchart/edit_session.h"

#include <algorithm>
#include <string>

#include "flowchart/recompute.h"
#include "flowchart/step_code.h"

namespace pendra2::flowchart {
namespace {

using interaction::DialogResult;
using interaction::Prompt;
using interaction::PromptAnswer;
using interaction::PromptButtons;

struct ToolCommand {
  int commandId;
  EditMode mode;
};
constexpr ToolCommand kToolCommands[] = {
    {2014, EditMode::kDelete},          {2016, EditMode::kInsertOrgel},
    {2017, EditMode::kInsertWait},      {2013, EditMode::kInsertLoop},
    {2018, EditMode::kInsertOutput},    {2020, EditMode::kInsertBranch},
    {2021, EditMode::kInsertGoto},      {2019, EditMode::kInsertExtOutput},
    {2022, EditMode::kInsertCompare},   {2023, EditMode::kInsertVariableA},
    {2024, EditMode::kInsertVariableB}, {2025, EditMode::kInsertVarCompare},
};

const Prompt kStepLimitPrompt{kStepLimitText, kStepLimitCaption, PromptButtons::Ok};
const Prompt kLoopDepthPrompt{kLoopDepthText, "挿入", PromptButtons::Ok};

// The name each insert tool asks about.
std::string InsertName(EditMode mode) {
  switch (mode) {
    case EditMode::kInsertOrgel:
      return "オルゴール";
    case EditMode::kInsertWait:
      return "待機";
    case EditMode::kInsertLoop:
      return "繰り返し";
    case EditMode::kInsertOutput:
      return "出力";
    case EditMode::kInsertBranch:
      return "分岐";
    case EditMode::kInsertGoto:
      return "ＧＯＴＯ";
    case EditMode::kInsertExtOutput:
      return "拡張出力";
    case EditMode::kInsertCompare:
      return "比較";
    case EditMode::kInsertVariableA:
      return "変数A";
    case EditMode::kInsertVariableB:
      return "変数B";
    case EditMode::kInsertVarCompare:
      return "変数比較";
    default:
      return {};
  }
}

// The name the delete prompt uses for a kind; empty for the kinds that cannot be deleted.
std::string DeleteName(const StepRecord& step) {
  switch (step.Kind()) {
    case StepKind::Orgel:
      return "オルゴール";
    case StepKind::Wait:
      return "待機";
    case StepKind::LoopStart:
    case StepKind::LoopEnd:
      return "繰り返し";
    case StepKind::Branch:
      return "分岐";
    case StepKind::Output:
      return "出力";
    case StepKind::Goto:
      return "GOTO";
    case StepKind::ExtOutput:
      return "拡張出力";
    case StepKind::Compare:
      return "比較";
    case StepKind::Variable:
      return "変数設定";
    case StepKind::VarCompare:
      return "変数比較";
    default:
      return {};
  }
}

StepRecord& At(FlowProgram& program, int index) {
  return program.steps[static_cast<std::size_t>(index)];
}

// Moves steps index + 1..count - 1 down one slot over `index`. The count is left to the
// caller, so a pair removal renumbers against the count of the moment as the editor always
// has; the slot that falls off the end keeps its stale copy.
void RemoveSlot(FlowProgram& program, int index) {
  for (int s = index; s + 1 < program.count; ++s) At(program, s) = At(program, s + 1);
}

void RemoveStep(FlowProgram& program, int index) {
  RemoveSlot(program, index);
  ShiftTargetsAfterDelete(program, index);
}

// Opens a step's dialog and writes its code copy afterwards, whatever the answer. A freshly
// inserted Output or ExtOutput keeps the slot's bytes until it is first edited, as files
// written by earlier versions have them.
DialogResult RunStepDialog(FlowProgram& program, int index, interaction::StepDialogs& dialogs,
                           bool inserted = false) {
  program.currentStep = index;
  StepRecord& step = At(program, index);
  DialogResult result = DialogResult::Cancel;
  switch (step.Kind()) {
    case StepKind::Orgel:
      return dialogs.Orgel(program);  // the tune dialog writes its own bytes
    case StepKind::Wait:
      result = dialogs.Wait(program);
      break;
    case StepKind::Branch:
      result = dialogs.Branch(program);
      break;
    case StepKind::Output:
      result = dialogs.Output(program);
      break;
    case StepKind::Goto:
      result = dialogs.Goto(program);
      break;
    case StepKind::ExtOutput:
      result = dialogs.ExtOutput(program);
      break;
    case StepKind::Compare:
      result = dialogs.Compare(program);
      break;
    case StepKind::Variable:
      result = step.channel == 0 ? dialogs.VariableA(program) : dialogs.VariableB(program);
      break;
    case StepKind::VarCompare:
      result = dialogs.VarCompare(program);
      break;
    default:
      return DialogResult::Cancel;
  }
  const bool copyLater = inserted && (step.Is(StepKind::Output) || step.Is(StepKind::ExtOutput));
  if (!copyLater) WriteStepCode(step);
  return result;
}

// The steps with a dialog of their own (a loop start's count too).
bool HasSettings(const StepRecord& step) {
  return step.Is(StepKind::LoopStart) || step.Is(StepKind::Orgel) || step.Is(StepKind::Wait) ||
         step.Is(StepKind::Branch) || step.Is(StepKind::Output) || step.Is(StepKind::Goto) ||
         step.Is(StepKind::ExtOutput) || step.Is(StepKind::Compare) ||
         step.Is(StepKind::Variable) || step.Is(StepKind::VarCompare);
}

void EditStep(FlowProgram& program, int index, interaction::StepDialogs& dialogs) {
  StepRecord& step = At(program, index);
  if (step.Is(StepKind::LoopStart)) {
    // OK marks the program changed like every other dialog's OK, even when the count
    // stays the same.
    if (const std::optional<int32_t> count = dialogs.LoopCount(step.loopCount)) {
      step.loopCount = *count;
      program.modified = true;
    }
    WriteLoopStartCode(step);
    Recompute(program);
    return;
  }
  if (!HasSettings(step)) return;  // LoopEnd, Start, End: nothing to set
  // Every OK changes the document; marking it here as well keeps that true whatever
  // shows the dialog.
  if (RunStepDialog(program, index, dialogs) == DialogResult::Ok) program.modified = true;
  Recompute(program);
}

}  // namespace

int LoopPartner(const FlowProgram& program, int index) {
  const StepRecord& mark = program.steps[static_cast<std::size_t>(index)];
  if (mark.Is(StepKind::LoopStart)) {
    for (int j = index + 1; j < program.count; ++j) {
      const StepRecord& s = program.steps[static_cast<std::size_t>(j)];
      if (s.Is(StepKind::LoopEnd) && s.depth == mark.depth) return j;
    }
  } else {
    for (int k = index - 1; k >= 1; --k) {
      const StepRecord& s = program.steps[static_cast<std::size_t>(k)];
      if (s.Is(StepKind::LoopStart) && s.depth == mark.depth) return k;
    }
  }
  return -1;
}

namespace {

void DeleteStep(FlowProgram& program, int index, interaction::Prompter& prompter) {
  const std::string name = DeleteName(At(program, index));
  if (name.empty()) {  // Start, End and kinds the editor does not know stay
    Recompute(program);
    return;
  }
  const PromptAnswer answer =
      prompter.Ask(Prompt{"「" + name + "」を削除します", "削除", PromptButtons::OkCancel});
  if (answer == PromptAnswer::Ok) {
    const StepRecord& step = At(program, index);
    const bool loopMark = step.Is(StepKind::LoopStart) || step.Is(StepKind::LoopEnd);
    const int partner = loopMark ? LoopPartner(program, index) : -1;
    if (partner < 0) {
      // A single step, or a loop mark whose partner a damaged file lost: that step alone.
      RemoveStep(program, index);
      program.count -= 1;
    } else {
      const int first = std::min(index, partner);
      const int second = std::max(index, partner);
      RemoveStep(program, first);
      RemoveStep(program, second - 1);
      program.count -= 2;
    }
  }
  program.modified = true;
  Recompute(program);
}

// The new record's kind and the values a fresh step of that kind starts with.
void FillNewStep(StepRecord& step, EditMode mode) {
  auto set = [&step](StepKind kind, int32_t size) {
    step.kind = static_cast<int32_t>(kind);
    step.size = size;
  };
  switch (mode) {
    case EditMode::kInsertOrgel:
      set(StepKind::Orgel, 0);
      // No tune yet: without this the symbol would name the tune of the step whose copy
      // the slot holds.
      step.code[kTunePathOffset] = 0;
      break;
    case EditMode::kInsertWait:
      set(StepKind::Wait, 0);
      step.value = 2;  // one second, until the dialog says otherwise
      WriteWaitCode(step);
      break;
    case EditMode::kInsertOutput:
      set(StepKind::Output, 3);
      step.value = 1;
      step.channel = 0;
      break;
    case EditMode::kInsertBranch:
      set(StepKind::Branch, 6);
      step.op = 1;
      step.channel = 0;
      step.target = 1;
      break;
    case EditMode::kInsertGoto:
      set(StepKind::Goto, 6);
      step.target = 1;
      break;
    case EditMode::kInsertExtOutput:
      set(StepKind::ExtOutput, 2);
      step.channel = 0;
      break;
    case EditMode::kInsertCompare:
      set(StepKind::Compare, 6);
      step.value = 10;
      step.op = 0;
      step.channel = 0;
      step.target = 1;
      break;
    case EditMode::kInsertVariableA:
    case EditMode::kInsertVariableB:
      set(StepKind::Variable, 4);
      step.value = 0;
      step.op = 0;
      step.channel = mode == EditMode::kInsertVariableA ? 0 : 1;
      break;
    case EditMode::kInsertVarCompare:
      set(StepKind::VarCompare, 6);
      step.value = 0;
      step.op = 0;
      step.target = 1;
      break;
    default:
      break;
  }
}

void InsertStep(FlowProgram& program, int index, EditMode mode, interaction::Prompter& prompter,
                interaction::StepDialogs& dialogs) {
  const bool pair = mode == EditMode::kInsertLoop;
  const bool takesTwoSlots =
      pair || mode == EditMode::kInsertVariableA || mode == EditMode::kInsertVariableB;
  if (program.count >= (takesTwoSlots ? kMaxSteps - 1 : kMaxSteps)) {
    prompter.Ask(kStepLimitPrompt);
    Recompute(program);
    return;
  }
  const int p = index == program.count - 1 ? index - 1 : index;
  if (pair && program.depthAfter[static_cast<std::size_t>(p)] >= kLoopDepthLimit) {
    prompter.Ask(kLoopDepthPrompt);
    Recompute(program);
    return;
  }
  const PromptAnswer answer = prompter.Ask(
      Prompt{"「" + InsertName(mode) + "」を挿入します", "挿入", PromptButtons::OkCancel});
  if (answer != PromptAnswer::Ok) {
    Recompute(program);
    return;
  }

  const int added = pair ? 2 : 1;
  for (int s = program.count - 1; s >= p + 1; --s) At(program, s + added) = At(program, s);
  program.count += added;
  // Every insertion changes the document, whatever its dialog answers.
  program.modified = true;

  const int at = p + 1;
  if (pair) {
    StepRecord& start = At(program, at);
    start.kind = static_cast<int32_t>(StepKind::LoopStart);
    start.loopCount = 2;
    start.size = 2;
    WriteLoopStartCode(start);
    StepRecord& end = At(program, at + 1);
    end.kind = static_cast<int32_t>(StepKind::LoopEnd);
    end.size = 4;
    end.depth = 2;
    WriteLoopEndCode(end);
    ShiftTargetsAfterInsert(program, p);
    ShiftTargetsAfterInsert(program, p);
  } else {
    FillNewStep(At(program, at), mode);
    RunStepDialog(program, at, dialogs, /*inserted=*/true);
    if (IsJumpKind(At(program, at))) {
      // A jump step's own target is renumbered too; the dialog bounded it against the
      // grown program, and a target past the inserted step moves one further, so it is
      // bounded once more to stay on a step.
      ShiftTargetsAfterInsert(program, p + 1);
      StepRecord& jump = At(program, at);
      jump.target = std::clamp(jump.target, int32_t{1}, program.count - 1);
    } else {
      ShiftTargetsAfterInsert(program, p);
    }
  }
  Recompute(program);
}

}  // namespace

std::optional<EditMode> ToolForCommand(int commandId) {
  for (const auto& tool : kToolCommands) {
    if (tool.commandId == commandId) return tool.mode;
  }
  return std::nullopt;
}

EditCursor ToolCursor(EditMode mode) {
  switch (mode) {
    case EditMode::kEdit:
      return EditCursor::None;
    case EditMode::kDelete:
      return EditCursor::CURDEL;
    case EditMode::kInsertLoop:
    case EditMode::kInsertBranch:
    case EditMode::kInsertCompare:
    case EditMode::kInsertVarCompare:
      return EditCursor::CURLIN;
    default:
      return IsInsertTool(mode) ? EditCursor::CURINS : EditCursor::None;
  }
}

EditCursor MoveCursor(EditMode mode) {
  return mode == EditMode::kInsertLoop ? EditCursor::CURLEND : ToolCursor(mode);
}

bool SelectTool(StepcraftState& state, int commandId) {
  const std::optional<EditMode> mode = ToolForCommand(commandId);
  if (!mode) return false;
  state.editMode = *mode;
  return true;
}

WindowUpdate SelectViewMode(StepcraftState& state, int selection) {
  state.viewMode = selection;
  return {true, true, EditCursor::None};
}

int RowAt(int y) {
  return (y - kRowsTop) / kRowHeight;  // C++ division truncates toward zero, as the row rule
}

namespace {

// A click left of the symbols falls on the step number.
bool OnStepNumber(int x) {
  return x >= 0 && x < kSymbolLeft;
}

// The step a click at x, y falls on in the rows, or -1.
int StepAt(const StepcraftState& state, int x, int y) {
  if (x <= kRowsLeft || x >= kRowsRight) return -1;
  const int index = state.topStep + RowAt(y);
  return index >= 0 && index < state.program.count ? index : -1;
}

}  // namespace

void MoveMarks(std::bitset<kStepSlots>& marks, int from, int by) {
  std::bitset<kStepSlots> moved;
  for (int s = 0; s < kStepSlots; ++s) {
    if (!marks[static_cast<std::size_t>(s)]) continue;
    const int to = s < from ? s : s + by;
    if (s >= from && by < 0 && s < from - by) continue;
    if (to >= 0 && to < kStepSlots) moved[static_cast<std::size_t>(to)] = true;
  }
  marks = moved;
}

bool MayBreakAt(const FlowProgram& program, int index) {
  if (index <= 0 || index >= program.count) return false;
  return index == program.count - 1 || program.steps[static_cast<std::size_t>(index)].size > 0;
}

bool ClickMayEdit(const StepcraftState& state, int x, int y) {
  if (state.transferBusy || OnStepNumber(x)) return false;
  const int index = StepAt(state, x, y);
  if (index < 0) return false;
  const StepRecord& step = state.program.steps[static_cast<std::size_t>(index)];
  switch (state.editMode) {
    case EditMode::kEdit:
      return HasSettings(step);
    case EditMode::kDelete:
      return !DeleteName(step).empty();
    default:
      return true;
  }
}

WindowUpdate Click(StepcraftState& state, int x, int y, interaction::Prompter& prompter,
                   interaction::StepDialogs& dialogs) {
  // While a transfer is writing the image, the program must stay as it is being sent.
  if (state.transferBusy) return {};
  FlowProgram& program = state.program;
  if (OnStepNumber(x)) {
    const int index = y >= kRowsTop ? state.topStep + RowAt(y) : -1;
    if (RowAt(y) >= kVisibleRows || !MayBreakAt(program, index)) return {};
    state.breakpoints.flip(static_cast<std::size_t>(index));
    return {.repaintWindow = true};
  }
  const int index = StepAt(state, x, y);
  if (index < 0) return {};
  // A click on a row ends a selection and is where a paste goes next.
  state.selectFirst = state.selectLast = -1;
  state.anchorStep = index;

  const int countBefore = program.count;
  const EditMode mode = state.editMode;
  if (mode == EditMode::kEdit) {
    EditStep(program, index, dialogs);
  } else if (mode == EditMode::kDelete) {
    state.editMode = EditMode::kEdit;
    const StepRecord& step = At(program, index);
    const int partner = step.Is(StepKind::LoopStart) || step.Is(StepKind::LoopEnd)
                            ? LoopPartner(program, index)
                            : -1;
    DeleteStep(program, index, prompter);
    if (program.count < countBefore) {
      const int second = std::max(index, partner);
      if (partner >= 0) MoveMarks(state.breakpoints, second, -1);
      MoveMarks(state.breakpoints, partner >= 0 ? std::min(index, partner) : index, -1);
    }
  } else {
    state.editMode = EditMode::kEdit;
    if (IsInsertTool(mode)) {
      InsertStep(program, index, mode, prompter, dialogs);
      const int p = index == countBefore - 1 ? index - 1 : index;
      if (program.count > countBefore) {
        MoveMarks(state.breakpoints, p + 1, program.count - countBefore);
      }
    }
  }
  return {true, true, EditCursor::None};
}

WindowUpdate MouseMove(StepcraftState& state, int x, int y) {
  WindowUpdate update;
  update.cursor = MoveCursor(state.editMode);
  if (x > kRowsLeft && x < kRowsRight && y > kRowsTop && y < kHoverBottom) {
    const int row = RowAt(y);
    if (row != state.hoverRow) {
      state.hoverRow = row;
      update.repaintWindow = true;
    }
  } else {
    state.hoverRow = -1;
  }
  return update;
}

ScrollUpdate Scroll(StepcraftState& state, ScrollRequest request, int thumbPos) {
  const int last = std::max(state.program.count - 1, 0);
  const auto down = [&](int steps) {
    state.topStep = std::min({state.topStep + steps, last, kMaxTopStep});
  };
  bool lineOrPage = true;
  switch (request) {
    case ScrollRequest::LineUp:
      state.topStep = std::max(state.topStep - 1, 0);
      break;
    case ScrollRequest::PageUp:
      state.topStep = std::max(state.topStep - kPageSteps, 0);
      break;
    case ScrollRequest::LineDown:
      down(1);
      break;
    case ScrollRequest::PageDown:
      down(kPageSteps);
      break;
    case ScrollRequest::ThumbPosition:
    case ScrollRequest::ThumbTrack:
      // The thumb's position is taken as the bar reports it, past the last step too (the
      // rows then stay empty and clicks on them are ignored); a scroll message carries 16
      // bits, and nothing below 0 can name a row.
      state.topStep = std::clamp(thumbPos, 0, kMaxThumbPosition);
      lineOrPage = false;
      break;
    case ScrollRequest::Other:
      lineOrPage = false;
      break;
  }
  return {last, state.topStep, lineOrPage};
}

void NewDocument(StepcraftState& state) {
  NewProgram(state.program);
  state.breakpoints.reset();
  state.selectFirst = state.selectLast = -1;
  state.anchorStep = 0;
  state.topStep = 0;
  state.documentPath.clear();
  state.documentTitle = kUntitledTitle;
}

bool IsJumpKind(const StepRecord& step) {
  return step.Is(StepKind::Branch) || step.Is(StepKind::Goto) || step.Is(StepKind::Compare) ||
         step.Is(StepKind::VarCompare);
}

std::string EditLabel(const StepcraftState& state, int x, int y) {
  if (!ClickMayEdit(state, x, y)) return {};
  if (IsInsertTool(state.editMode)) return "「" + InsertName(state.editMode) + "」の挿入";
  const StepRecord& step = state.program.steps[static_cast<std::size_t>(StepAt(state, x, y))];
  if (state.editMode == EditMode::kDelete) return "「" + DeleteName(step) + "」の削除";
  if (step.Is(StepKind::LoopStart)) return "繰り返し回数の変更";
  return "「" + DeleteName(step) + "」の変更";
}

void ShiftTargetsAfterInsert(FlowProgram& program, int p) {
  for (int s = 1; s < program.count; ++s) {
    StepRecord& step = At(program, s);
    if (IsJumpKind(step) && step.target >= p + 1) ++step.target;
  }
}

void ShiftTargetsAfterDelete(FlowProgram& program, int p) {
  for (int s = 1; s < program.count; ++s) {
    StepRecord& step = At(program, s);
    if (IsJumpKind(step) && step.target > p) --step.target;
  }
}

}  // namespace pendra2::flowchart
