#include "flowchart/edit_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "flowchart/dialog_fields.h"
#include "flowchart/listing.h"
#include "flowchart/program_builder.h"
#include "flowchart/scripted_editing.h"

namespace pendra2::flowchart::testing {
namespace {

using interaction::DialogResult;
using interaction::PromptAnswer;
using interaction::PromptButtons;

class EditSessionTest : public ::testing::Test {
 protected:
  std::unique_ptr<StepcraftState> owned = std::make_unique<StepcraftState>();
  StepcraftState& state = *owned;
  FlowProgram& p = state.program;
  ScriptedPrompter prompter;
  ScriptedDialogs dialogs;

  void SetUp() override { NewDocument(state); }

  WindowUpdate ClickRow(int row, int x = 100) {
    return Click(state, x, 40 + row * 48 + 24, prompter, dialogs);
  }
  WindowUpdate UseTool(int command, int row) {
    EXPECT_TRUE(SelectTool(state, command));
    return ClickRow(row);
  }
  std::vector<K> Kinds() const {
    std::vector<K> kinds;
    kinds.reserve(static_cast<std::size_t>(p.count));
    for (int i = 0; i < p.count; ++i) kinds.push_back(p.steps[i].Kind());
    return kinds;
  }
  // Start, `n` - 2 outputs, End.
  void BuildOutputs(int n) {
    Build(p, std::vector<StepRecord>(static_cast<std::size_t>(n - 2), Step(K::Output, 1)));
  }
};

// Every insert tool, clicked on Start, on a middle step and on End: the new step lands after
// the clicked one (before End for End), with its kind's prompt, defaults and dialog.
TEST_F(EditSessionTest, EveryInsertToolAtStartMiddleAndEnd) {
  struct Row {
    int command;
    std::string prompt;
    K kind;
    std::optional<int> dialog;
    int32_t channel;
  };
  const Row rows[] = {
      {2016, "「オルゴール」を挿入します", K::Orgel, 185, -1},
      {2017, "「待機」を挿入します", K::Wait, 184, -1},
      {2013, "「繰り返し」を挿入します", K::LoopStart, std::nullopt, -1},
      {2018, "「出力」を挿入します", K::Output, 208, 0},
      {2020, "「分岐」を挿入します", K::Branch, 207, 0},
      {2021, "「ＧＯＴＯ」を挿入します", K::Goto, 214, -1},
      {2019, "「拡張出力」を挿入します", K::ExtOutput, 216, 0},
      {2022, "「比較」を挿入します", K::Compare, 215, 0},
      {2023, "「変数A」を挿入します", K::Variable, 231, 0},
      {2024, "「変数B」を挿入します", K::Variable, 233, 1},
      {2025, "「変数比較」を挿入します", K::VarCompare, 232, -1},
  };
  struct Place {
    int row;
    int newIndex;
  };
  for (const Row& row : rows) {
    for (const Place place : {Place{0, 1}, Place{1, 2}, Place{3, 3}}) {
      SCOPED_TRACE(row.prompt + " row " + std::to_string(place.row));
      BuildOutputs(4);
      p.modified = false;
      prompter.asked.clear();
      dialogs.opened.clear();
      const WindowUpdate update = UseTool(row.command, place.row);

      EXPECT_TRUE(update.repaintWindow && update.repaintToolbar);
      ASSERT_EQ(prompter.asked.size(), 1u);
      EXPECT_EQ(prompter.asked[0].text, row.prompt);
      EXPECT_EQ(prompter.asked[0].caption, "挿入");
      EXPECT_EQ(prompter.asked[0].buttons, PromptButtons::OkCancel);
      const bool pair = row.kind == K::LoopStart;
      EXPECT_EQ(p.count, pair ? 6 : 5);
      const StepRecord& added = p.steps[place.newIndex];
      EXPECT_EQ(added.Kind(), row.kind);
      if (pair) {
        EXPECT_EQ(p.steps[place.newIndex + 1].Kind(), K::LoopEnd);
        EXPECT_EQ(added.loopCount, 2);
        EXPECT_EQ(added.depth, 1);
      }
      if (row.channel >= 0) {
        EXPECT_EQ(added.channel, row.channel);
      }
      EXPECT_EQ(dialogs.opened, row.dialog ? std::vector<int>{*row.dialog} : std::vector<int>{});
      EXPECT_EQ(p.steps[p.count - 1].Kind(), K::End);
      // The dialogs were cancelled, the loop pair has none: the document changed anyway.
      EXPECT_TRUE(p.modified);
      EXPECT_EQ(state.editMode, EditMode::kEdit);
      EXPECT_EQ(p.imageSize, p.endAddress[p.count - 1]);
    }
  }
}

// The step limits: 255 for most tools, 254 for the loop pair and the variables.
TEST_F(EditSessionTest, StepLimitsByTool) {
  struct Row {
    int command;
    int count;
    bool refused;
  };
  const Row rows[] = {
      {2018, 254, false}, {2018, 255, true},  {2020, 255, true}, {2025, 254, false},
      {2013, 253, false}, {2013, 254, true},  {2023, 254, true}, {2024, 254, true},
      {2023, 253, false}, {2016, 254, false}, {2017, 255, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.command) + " at " + std::to_string(row.count));
    BuildOutputs(row.count);
    p.modified = false;
    prompter.asked.clear();
    UseTool(row.command, 0);
    ASSERT_EQ(prompter.asked.size(), 1u);
    if (row.refused) {
      EXPECT_EQ(prompter.asked[0].text, "最大登録数を超えました。");
      EXPECT_EQ(prompter.asked[0].caption, "制限事項");
      EXPECT_EQ(prompter.asked[0].buttons, PromptButtons::Ok);
      EXPECT_EQ(p.count, row.count);
      EXPECT_FALSE(p.modified);
    } else {
      EXPECT_GT(p.count, row.count);
      EXPECT_LE(p.count, kMaxSteps);
    }
    EXPECT_EQ(state.editMode, EditMode::kEdit);
  }
}

TEST_F(EditSessionTest, LoopsNestThreeDeepAndNoDeeper) {
  Build(p, {Loop(2), Loop(3), Step(K::Output), LoopEnd(), LoopEnd()});
  // After the inner LoopStart (depth 2) a third level is allowed and gets depth 3.
  UseTool(2013, 2);
  EXPECT_EQ(prompter.asked.back().text, "「繰り返し」を挿入します");
  ASSERT_EQ(p.count, 9);
  EXPECT_EQ(p.steps[3].depth, 3);
  EXPECT_EQ(p.steps[4].depth, 3);
  EXPECT_EQ(p.depthAfter[3], 3);

  // After that depth-3 LoopStart a fourth is refused, and the tool is spent.
  UseTool(2013, 3);
  EXPECT_EQ(prompter.asked.back().text, "「繰り返し」の入れ子は３重までです。");
  EXPECT_EQ(prompter.asked.back().caption, "挿入");
  EXPECT_EQ(p.count, 9);
  EXPECT_EQ(state.editMode, EditMode::kEdit);
}

// Loop pairs go together from either end, nested ones included; a mark whose partner a
// damaged file lost goes alone.
TEST_F(EditSessionTest, DeletingLoopMarks) {
  struct Row {
    std::vector<StepRecord> body;
    int row;
    std::vector<K> kinds;
    std::vector<int32_t> loopCounts;  // of the LoopStarts left, in order
  };
  const std::vector<StepRecord> nested = {Loop(7),   Loop(9),          Step(K::Output),
                                          LoopEnd(), Step(K::Wait, 2), LoopEnd()};
  const std::vector<K> outerGone = {K::Start, K::LoopStart, K::Output, K::LoopEnd, K::Wait, K::End};
  const std::vector<K> innerGone = {K::Start, K::LoopStart, K::Output, K::Wait, K::LoopEnd, K::End};
  const Row rows[] = {
      {nested, 1, outerGone, {9}},  // outer start takes the outer end
      {nested, 6, outerGone, {9}},  // outer end takes the outer start
      {nested, 2, innerGone, {7}},
      {nested, 4, innerGone, {7}},
      {{Loop(7), Step(K::Output)}, 1, {K::Start, K::Output, K::End}, {}},
      {{Step(K::Output), LoopEnd()}, 2, {K::Start, K::Output, K::End}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.row);
    Build(p, row.body);
    prompter.asked.clear();
    UseTool(2014, row.row);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "「繰り返し」を削除します");
    EXPECT_EQ(prompter.asked[0].caption, "削除");
    EXPECT_EQ(Kinds(), row.kinds);
    std::vector<int32_t> counts;
    for (int i = 0; i < p.count; ++i) {
      if (p.steps[i].Is(K::LoopStart)) counts.push_back(p.steps[i].loopCount);
    }
    EXPECT_EQ(counts, row.loopCounts);
  }
}

TEST_F(EditSessionTest, DeletePromptPerKindAndStartEndStay) {
  struct Row {
    StepRecord step;
    std::string text;
  };
  const Row rows[] = {
      {Step(K::Orgel), "「オルゴール」を削除します"},
      {Step(K::Wait, 2), "「待機」を削除します"},
      {Step(K::Branch), "「分岐」を削除します"},
      {Step(K::Output), "「出力」を削除します"},
      {Step(K::Goto), "「GOTO」を削除します"},
      {Step(K::ExtOutput), "「拡張出力」を削除します"},
      {Step(K::Compare), "「比較」を削除します"},
      {Step(K::Variable, 0, 0, 1), "「変数設定」を削除します"},
      {Step(K::VarCompare), "「変数比較」を削除します"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    Build(p, {row.step});
    prompter.asked.clear();
    UseTool(2014, 1);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, row.text);
    EXPECT_EQ(Kinds(), (std::vector<K>{K::Start, K::End}));
  }
  for (const int row : {0, 1}) {
    prompter.asked.clear();
    p.modified = false;
    UseTool(2014, row);
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_EQ(p.count, 2);
    EXPECT_FALSE(p.modified);
    EXPECT_EQ(state.editMode, EditMode::kEdit);
  }
}

// 0 Start, 1 Goto→5, 2 Goto→6, 3..6 Output, 7 End; what each edit leaves in the targets.
TEST_F(EditSessionTest, JumpTargetsFollowTheirSteps) {
  struct Row {
    std::string what;
    int command;
    int row;
    std::optional<DialogAction> dialog;
    PromptAnswer answer;
    std::vector<int32_t> targets;  // of the jump steps, in order
  };
  auto gotoTo = [](const char* t) {
    return DialogAction{[t](StepRecord& s, int32_t count) { (void)StoreGoto({t}, s, count); }};
  };
  const Row rows[] = {
      {"output after 4", 2018, 4, std::nullopt, PromptAnswer::Ok, {6, 7}},
      {"goto after 4, cancelled", 2021, 4, std::nullopt, PromptAnswer::Ok, {5, 7, 1}},
      {"goto after 4 to 6", 2021, 4, gotoTo("6"), PromptAnswer::Ok, {5, 7, 7}},
      {"goto after 4 to 5", 2021, 4, gotoTo("5"), PromptAnswer::Ok, {5, 7, 5}},
      // The dialog bounds to the grown program's last step; renumbering must not push
      // the new step's target past End.
      {"goto after 4 to End", 2021, 4, gotoTo("99"), PromptAnswer::Ok, {5, 7, 8}},
      {"loop pair after 4", 2013, 4, std::nullopt, PromptAnswer::Ok, {7, 8}},
      {"insert cancelled", 2018, 4, std::nullopt, PromptAnswer::Cancel, {5, 6}},
      {"delete the target", 2014, 5, std::nullopt, PromptAnswer::Ok, {5, 5}},
      {"delete before both", 2014, 3, std::nullopt, PromptAnswer::Ok, {4, 5}},
      {"delete cancelled", 2014, 3, std::nullopt, PromptAnswer::Cancel, {5, 6}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Build(p, {Step(K::Goto, 0, 0, 0, 5), Step(K::Goto, 0, 0, 0, 6), Step(K::Output),
              Step(K::Output), Step(K::Output), Step(K::Output)});
    prompter.answers = {row.answer};
    if (row.dialog) dialogs.actions = {*row.dialog};
    UseTool(row.command, row.row);
    std::vector<int32_t> targets;
    for (int i = 0; i < p.count; ++i) {
      if (p.steps[i].Is(K::Goto)) targets.push_back(p.steps[i].target);
    }
    EXPECT_EQ(targets, row.targets);
    EXPECT_EQ(state.editMode, EditMode::kEdit);
  }
}

TEST_F(EditSessionTest, CancelPathsAndTheModifiedFlag) {
  BuildOutputs(3);
  p.modified = false;
  // A cancelled insert prompt changes nothing at all.
  prompter.answers = {PromptAnswer::Cancel};
  UseTool(2017, 1);
  EXPECT_EQ(p.count, 3);
  EXPECT_FALSE(p.modified);
  EXPECT_TRUE(dialogs.opened.empty());

  // A cancelled delete prompt keeps the step but marks the document.
  prompter.answers = {PromptAnswer::Cancel};
  UseTool(2014, 1);
  EXPECT_EQ(p.count, 3);
  EXPECT_TRUE(p.modified);

  // A Wait whose dialog is cancelled starts at one second, bytes and size to match.
  p.modified = false;
  p.steps[2].value = 100000;  // whatever the slot held before must not leak in
  UseTool(2017, 1);
  EXPECT_TRUE(p.modified);
  const StepRecord& wait = p.steps[2];
  ASSERT_TRUE(wait.Is(K::Wait));
  EXPECT_EQ(wait.value, 2);
  EXPECT_EQ(wait.size, 4);
  EXPECT_EQ(wait.code[0], 'T');
  EXPECT_EQ(wait.code[1], 121);
  EXPECT_EQ(wait.code[2], 23);
  EXPECT_EQ(wait.code[3], 23);

  // A new tune step names no tune until one is chosen, whatever its slot held.
  Build(p, {Step(K::Orgel), Step(K::Orgel)});
  ASSERT_TRUE(StoreTunePath(p.steps[1], "old.olg"));
  ASSERT_TRUE(StoreTunePath(p.steps[2], "older.olg"));
  UseTool(2016, 1);
  ASSERT_TRUE(p.steps[2].Is(K::Orgel));
  EXPECT_EQ(StoredTunePath(p.steps[2]), "");
  EXPECT_EQ(p.steps[2].size, 0);
  EXPECT_EQ(StoredTunePath(p.steps[3]), "older.olg");
  BuildOutputs(3);
  UseTool(2017, 1);

  // An edit cancelled leaves the document clean; OK marks it.
  p.modified = false;
  dialogs.actions = {DialogAction{nullptr, DialogResult::Cancel}};
  ClickRow(2);
  EXPECT_FALSE(p.modified);
  dialogs.actions = {DialogAction{[](StepRecord& s, int32_t) { s.value = 6; }}};
  ClickRow(2);
  EXPECT_TRUE(p.modified);
  EXPECT_EQ(p.steps[2].size, 8);
  EXPECT_EQ(p.steps[2].code[7], 23);
  EXPECT_EQ(dialogs.opened, (std::vector<int>{184, 185, 184, 184, 184}));
}

// With no tool a click opens the step's own dialog, rewrites its code copy and recomputes.
TEST_F(EditSessionTest, EditingOpensTheKindsDialog) {
  struct Row {
    StepRecord step;
    std::vector<int> dialogs;
  };
  const Row rows[] = {
      {Step(K::Orgel), {185}},
      {Step(K::Wait, 2), {184}},
      {Loop(2), {186}},
      {Step(K::Branch, 0, 1), {207}},
      {Step(K::Output), {208}},
      {Step(K::Goto, 0, 0, 0, 1), {214}},
      {Step(K::ExtOutput), {216}},
      {Step(K::Compare), {215}},
      {Step(K::Variable), {231}},
      {Step(K::Variable, 0, 0, 1), {233}},
      {Step(K::VarCompare), {232}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.dialogs[0]);
    Build(p, {row.step});
    dialogs.opened.clear();
    ClickRow(1);
    EXPECT_EQ(dialogs.opened, row.dialogs);
    EXPECT_EQ(p.currentStep, row.dialogs[0] == 186 ? 0 : 1);
    EXPECT_TRUE(prompter.asked.empty());
  }
  // Start, End and LoopEnd have nothing to set.
  Build(p, {Loop(2), LoopEnd()});
  dialogs.opened.clear();
  for (const int row : {0, 2, 3}) ClickRow(row);
  EXPECT_TRUE(dialogs.opened.empty());

  // The loop count comes back from its dialog into the record and its code.
  dialogs.loopCounts = {9};
  ClickRow(1);
  EXPECT_EQ(p.steps[1].loopCount, 9);
  EXPECT_EQ(p.steps[1].code[1], 9);
  EXPECT_TRUE(p.modified);

  // An OK in the branch dialog reaches the code copy ('b' for "below").
  Build(p, {Step(K::Branch, 0, 1)});
  dialogs.actions = {DialogAction{[](StepRecord& s, int32_t) {
    s.op = 2;
    s.value = 0x1234;
  }}};
  ClickRow(1);
  EXPECT_EQ(p.steps[1].code[0], 'b');
  EXPECT_EQ(p.steps[1].code[2], 0x12);
  EXPECT_EQ(p.steps[1].code[3], 0x34);
}

TEST_F(EditSessionTest, HitTestAndTheOneShotTool) {
  BuildOutputs(4);
  // Beside the rows or below the last step: nothing happens and the tool stays.
  SelectTool(state, 2014);
  for (const auto& [x, y] : {std::pair{10, 100}, std::pair{400, 100}, std::pair{5, 100},
                             std::pair{100, 40 + 4 * 48 + 1}}) {
    EXPECT_FALSE(Click(state, x, y, prompter, dialogs).repaintWindow);
  }
  EXPECT_TRUE(prompter.asked.empty());
  EXPECT_EQ(state.editMode, EditMode::kDelete);

  // y = 20 lies above the first row and still hits it; y = 88 is the second row.
  prompter.answers = {PromptAnswer::Cancel};
  EXPECT_TRUE(Click(state, 11, 20, prompter, dialogs).repaintWindow);
  EXPECT_TRUE(prompter.asked.empty());  // row 0 is Start: no prompt, tool spent
  EXPECT_EQ(state.editMode, EditMode::kEdit);
  SelectTool(state, 2014);
  Click(state, 399, 88, prompter, dialogs);
  ASSERT_EQ(prompter.asked.size(), 1u);  // row 1: an Output
  EXPECT_EQ(state.editMode, EditMode::kEdit);

  // Rows count from topStep.
  state.topStep = 2;
  SelectTool(state, 2014);
  ClickRow(0);
  EXPECT_EQ(Kinds(), (std::vector<K>{K::Start, K::Output, K::End}));

  // Nothing edits while a transfer is sending the program.
  state.transferBusy = true;
  SelectTool(state, 2014);
  EXPECT_FALSE(ClickRow(1).repaintWindow);
  EXPECT_EQ(p.count, 3);
}

TEST_F(EditSessionTest, ToolsAndCursors) {
  struct Row {
    int command;
    EditMode mode;
    EditCursor set;
    EditCursor moving;
  };
  const Row rows[] = {
      {2014, EditMode::kDelete, EditCursor::CURDEL, EditCursor::CURDEL},
      {2016, EditMode::kInsertOrgel, EditCursor::CURINS, EditCursor::CURINS},
      {2013, EditMode::kInsertLoop, EditCursor::CURLIN, EditCursor::CURLEND},
      {2020, EditMode::kInsertBranch, EditCursor::CURLIN, EditCursor::CURLIN},
      {2019, EditMode::kInsertExtOutput, EditCursor::CURINS, EditCursor::CURINS},
      {2024, EditMode::kInsertVariableB, EditCursor::CURINS, EditCursor::CURINS},
      {2025, EditMode::kInsertVarCompare, EditCursor::CURLIN, EditCursor::CURLIN},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.command);
    ASSERT_TRUE(SelectTool(state, row.command));
    EXPECT_EQ(state.editMode, row.mode);
    EXPECT_EQ(ToolCursor(state.editMode), row.set);
    EXPECT_EQ(MouseMove(state, 500, 500).cursor, row.moving);
  }
  state.editMode = EditMode::kEdit;
  for (const int notATool : {2004, 2015, 214, 2026}) EXPECT_FALSE(SelectTool(state, notATool));
  EXPECT_EQ(state.editMode, EditMode::kEdit);
  EXPECT_EQ(MouseMove(state, 100, 100).cursor, EditCursor::None);
}

TEST_F(EditSessionTest, HoverRowRepaintsOnlyWhenItChanges) {
  struct Row {
    int x, y;
    int hoverRow;
    bool repaint;
  };
  const Row rows[] = {
      {100, 50, 0, true},    {100, 87, 0, false},  {100, 88, 1, true},   {100, 469, 8, true},
      {100, 470, -1, false}, {100, 40, -1, false}, {10, 100, -1, false}, {100, 100, 1, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.x) + "," + std::to_string(row.y));
    EXPECT_EQ(MouseMove(state, row.x, row.y).repaintWindow, row.repaint);
    EXPECT_EQ(state.hoverRow, row.hoverRow);
  }
}

TEST_F(EditSessionTest, ScrollLimits) {
  struct Row {
    int top;
    ScrollRequest request;
    int thumb;
    int expected;
    bool repaintToolbar;
  };
  const Row rows[] = {
      {0, ScrollRequest::LineUp, 0, 0, true},
      {5, ScrollRequest::LineUp, 0, 4, true},
      {5, ScrollRequest::PageUp, 0, 0, true},
      {15, ScrollRequest::PageUp, 0, 5, true},
      {0, ScrollRequest::PageDown, 0, 10, true},
      {10, ScrollRequest::PageDown, 0, 19, true},
      {19, ScrollRequest::LineDown, 0, 19, true},
      {18, ScrollRequest::LineDown, 0, 19, true},
      {3, ScrollRequest::ThumbPosition, 12, 12, false},
      {3, ScrollRequest::ThumbTrack, 7, 7, false},
      {3, ScrollRequest::ThumbTrack, -4, 0, false},
      {3, ScrollRequest::ThumbPosition, 300, 19, false},
      {3, ScrollRequest::Other, 12, 3, false},
  };
  BuildOutputs(20);
  for (const Row& row : rows) {
    state.topStep = row.top;
    const ScrollUpdate update = Scroll(state, row.request, row.thumb);
    EXPECT_EQ(state.topStep, row.expected) << row.top << " " << static_cast<int>(row.request);
    EXPECT_EQ(update.position, row.expected);
    EXPECT_EQ(update.rangeMax, 19);
    EXPECT_EQ(update.repaintToolbar, row.repaintToolbar);
  }
}

TEST_F(EditSessionTest, NewDocumentAndViewMode) {
  BuildOutputs(6);
  p.modified = true;
  p.tempoIndex = 5;
  state.topStep = 3;
  state.documentPath = "/tmp/a.flc";
  state.documentTitle = "アクティビティ図編集 [a.flc]";
  state.editMode = EditMode::kInsertGoto;
  NewDocument(state);
  EXPECT_EQ(Kinds(), (std::vector<K>{K::Start, K::End}));
  EXPECT_FALSE(p.modified);
  EXPECT_EQ(p.imageSize, 0);
  EXPECT_EQ(p.image, FlowProgram::FilledImage());
  EXPECT_EQ(state.topStep, 0);
  EXPECT_TRUE(state.documentPath.empty());
  EXPECT_EQ(state.documentTitle, "アクティビティ図編集 [No Title]");
  EXPECT_EQ(p.tempoIndex, 5);
  EXPECT_EQ(state.editMode, EditMode::kInsertGoto);

  const WindowUpdate update = SelectViewMode(state, 0);
  EXPECT_EQ(state.viewMode, 0);
  EXPECT_TRUE(update.repaintWindow && update.repaintToolbar);
}

}  // namespace
}  // namespace pendra2::flowchart::testing
