#include "flowchart/edit_session.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "flowchart/dialog_fields.h"
#include "flowchart/edit_history.h"
#include "flowchart/flow_file.h"
#include "flowchart/listing.h"
#include "flowchart/program_builder.h"
#include "flowchart/recompute.h"
#include "flowchart/step_blocks.h"
#include "flowchart/temp_dir.h"
#include "interaction/step_dialogs.h"
#include "stepcraft_app/scripted_user.h"

namespace pendra2::flowchart::testing {
namespace {

using interaction::DialogResult;
using interaction::PromptAnswer;
using interaction::PromptButtons;

// Step dialogs, scripted: each queued entry types into the step (count is the program's)
// and presses OK; an empty entry, or none queued, cancels. Template ids are recorded.
struct ScriptedDialogs final : interaction::StepDialogs {
  using Fill = std::function<void(StepRecord& step, int32_t count)>;
  std::deque<Fill> fills;
  std::deque<int32_t> loopCounts;  // answers of dialog 186; cancelled once they run out
  std::vector<int> opened;

  DialogResult Run(int templateId, FlowProgram& program) {
    opened.push_back(templateId);
    if (fills.empty()) return DialogResult::Cancel;
    const Fill fill = std::move(fills.front());
    fills.pop_front();
    if (!fill) return DialogResult::Cancel;
    fill(program.steps[program.currentStep], program.count);
    program.modified = true;
    return DialogResult::Ok;
  }
  DialogResult Wait(FlowProgram& p) override { return Run(184, p); }
  DialogResult Orgel(FlowProgram& p) override { return Run(185, p); }
  std::optional<int32_t> LoopCount(int32_t) override {
    opened.push_back(186);
    if (loopCounts.empty()) return std::nullopt;
    const int32_t count = loopCounts.front();
    loopCounts.pop_front();
    return count;
  }
  DialogResult Branch(FlowProgram& p) override { return Run(207, p); }
  DialogResult Output(FlowProgram& p) override { return Run(208, p); }
  DialogResult Goto(FlowProgram& p) override { return Run(214, p); }
  DialogResult Compare(FlowProgram& p) override { return Run(215, p); }
  DialogResult ExtOutput(FlowProgram& p) override { return Run(216, p); }
  DialogResult VariableA(FlowProgram& p) override { return Run(231, p); }
  DialogResult VarCompare(FlowProgram& p) override { return Run(232, p); }
  DialogResult VariableB(FlowProgram& p) override { return Run(233, p); }
};

// Programs written one letter per step: S Start, E End, T Orgel, W Wait, [ ] loop marks,
// B Branch, O Output, G Goto, X ExtOutput, C Compare, V/v Variable A/B, Q VarCompare.
constexpr std::string_view kLetters = "STW[]BOGXCVQ";  // indexed by kind

StepRecord FromLetter(char c) {
  if (c == '[') return Loop(2);
  if (c == ']') return LoopEnd();
  if (c == 'v') return Step(K::Variable, 0, 0, 1);
  EXPECT_NE(kLetters.find(c), std::string_view::npos) << c;
  return Step(static_cast<K>(kLetters.find(c)), 2, 1, 0, 1);
}

class EditSessionTest : public ::testing::Test {
 protected:
  EditSessionTest() { prompter.thenAlways = PromptAnswer::Ok; }

  std::unique_ptr<StepcraftState> owned = std::make_unique<StepcraftState>();
  StepcraftState& state = *owned;
  FlowProgram& p = state.program;
  pendra2::testing::ScriptedPrompter prompter;
  ScriptedDialogs dialogs;

  // `shape` includes the S and E.
  void Make(const std::string& shape) {
    std::vector<StepRecord> body;
    for (const char c : shape.substr(1, shape.size() - 2)) body.push_back(FromLetter(c));
    Build(p, body);
    prompter.shown.clear();
    dialogs.opened.clear();
  }
  std::string Shape() const {
    std::string shape;
    for (int i = 0; i < p.count; ++i) {
      const StepRecord& s = p.steps[i];
      shape += s.Is(K::End) ? 'E'
               : s.Is(K::Variable) && s.channel != 0
                   ? 'v'
                   : kLetters.at(static_cast<std::size_t>(s.kind));
    }
    return shape;
  }
  WindowUpdate ClickRow(int row) { return Click(state, 100, 64 + row * 48, prompter, dialogs); }
  WindowUpdate UseTool(int command, int row) {
    EXPECT_TRUE(SelectTool(state, command));
    return ClickRow(row);
  }
};

// Every insert tool on Start, on a middle step and on End: the new step lands after the
// clicked one (before End for End), with its prompt and dialog; the document is changed
// even though every dialog is cancelled and the pair has none. Clicked without a tool, the
// new step opens its dialog again (the pair its loop count).
TEST_F(EditSessionTest, InsertToolsAtStartMiddleAndEnd) {
  struct Row {
    int command;
    std::string name, letters;
    std::vector<int> dialog;
  };
  const Row rows[] = {
      {2016, "オルゴール", "T", {185}}, {2017, "待機", "W", {184}},
      {2013, "繰り返し", "[]", {}},     {2018, "出力", "O", {208}},
      {2020, "分岐", "B", {207}},       {2021, "ＧＯＴＯ", "G", {214}},
      {2019, "拡張出力", "X", {216}},   {2022, "比較", "C", {215}},
      {2023, "変数A", "V", {231}},      {2024, "変数B", "v", {233}},
      {2025, "変数比較", "Q", {232}},
  };
  for (const Row& row : rows) {
    for (const auto& [clicked, at] : {std::pair{0, 1}, std::pair{1, 2}, std::pair{3, 3}}) {
      SCOPED_TRACE(row.name + " on row " + std::to_string(clicked));
      Make("SOOE");
      const WindowUpdate update = UseTool(row.command, clicked);
      EXPECT_EQ(Shape(), std::string("SOOE").insert(static_cast<std::size_t>(at), row.letters));
      ASSERT_EQ(prompter.shown.size(), 1u);
      EXPECT_EQ(prompter.shown[0].text, "「" + row.name + "」を挿入します");
      EXPECT_EQ(prompter.shown[0].caption, "挿入");
      EXPECT_EQ(prompter.shown[0].buttons, PromptButtons::OkCancel);
      EXPECT_EQ(dialogs.opened, row.dialog);
      EXPECT_TRUE(p.modified);
      EXPECT_EQ(state.editMode, EditMode::kEdit);
      EXPECT_TRUE(update.repaintWindow && update.repaintToolbar);
      dialogs.opened.clear();
      ClickRow(at);
      EXPECT_EQ(dialogs.opened, row.dialog.empty() ? std::vector<int>{186} : row.dialog);
    }
  }
}

// 255 steps at most; the loop pair and the variables need two free slots.
TEST_F(EditSessionTest, StepLimitsByTool) {
  struct Row {
    int command, count;
    bool refused;
  };
  const Row rows[] = {{2018, 254, false}, {2018, 255, true},  {2013, 253, false},
                      {2013, 254, true},  {2023, 253, false}, {2024, 254, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.command) + " at " + std::to_string(row.count));
    Make("S" + std::string(static_cast<std::size_t>(row.count - 2), 'O') + "E");
    UseTool(row.command, 0);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text == "最大登録数を超えました。", row.refused);
    EXPECT_EQ(prompter.shown[0].caption, row.refused ? "制限事項" : "挿入");
    EXPECT_EQ(p.count == row.count, row.refused);
    EXPECT_EQ(p.modified, !row.refused);
    EXPECT_EQ(state.editMode, EditMode::kEdit);
  }
}

TEST_F(EditSessionTest, LoopsNestThreeDeepAndNoDeeper) {
  Make("S[[O]]E");
  UseTool(2013, 2);  // after a depth-2 LoopStart: allowed, the new pair has depth 3
  EXPECT_EQ(Shape(), "S[[[]O]]E");
  EXPECT_EQ(p.steps[3].depth, 3);
  EXPECT_EQ(p.steps[4].depth, 3);
  UseTool(2013, 3);  // after a depth-3 LoopStart: refused, and the tool is spent
  EXPECT_EQ(prompter.shown.back().text, "「繰り返し」の入れ子は３重までです。");
  EXPECT_EQ(prompter.shown.back().caption, "挿入");
  EXPECT_EQ(Shape(), "S[[[]O]]E");
  EXPECT_EQ(state.editMode, EditMode::kEdit);
}

// Loop pairs go together from either end, nested ones included; a mark whose partner a
// damaged file lost goes alone. Every other kind but Start and End goes on OK. Any answer to
// a delete prompt marks the document.
TEST_F(EditSessionTest, Deleting) {
  struct Row {
    std::string shape;
    int row;
    std::string name, after;
    PromptAnswer answer = PromptAnswer::Ok;
  };
  const Row rows[] = {
      {"S[[O]W]E", 1, "繰り返し", "S[O]WE"},
      {"S[[O]W]E", 6, "繰り返し", "S[O]WE"},
      {"S[[O]W]E", 2, "繰り返し", "S[OW]E"},
      {"S[[O]W]E", 4, "繰り返し", "S[OW]E"},
      {"S[OE", 1, "繰り返し", "SOE"},
      {"SO]E", 2, "繰り返し", "SOE"},
      {"STWE", 1, "オルゴール", "SWE"},
      {"STWE", 2, "待機", "STE"},
      {"SBE", 1, "分岐", "SE"},
      {"SOE", 1, "出力", "SE"},
      {"SGE", 1, "GOTO", "SE"},
      {"SXE", 1, "拡張出力", "SE"},
      {"SCE", 1, "比較", "SE"},
      {"SvE", 1, "変数設定", "SE"},
      {"SQE", 1, "変数比較", "SE"},
      {"SOE", 1, "出力", "SOE", PromptAnswer::Cancel},
      {"SOE", 0, "", "SOE"},
      {"SOE", 2, "", "SOE"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.shape + " row " + std::to_string(row.row));
    Make(row.shape);
    prompter.answers = {row.answer};
    UseTool(2014, row.row);
    EXPECT_EQ(Shape(), row.after);
    EXPECT_EQ(state.editMode, EditMode::kEdit);
    EXPECT_EQ(p.modified, !row.name.empty());
    if (row.name.empty()) {
      EXPECT_TRUE(prompter.shown.empty());
      continue;
    }
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "「" + row.name + "」を削除します");
    EXPECT_EQ(prompter.shown[0].caption, "削除");
  }
}

// 0 Start, 1 Goto→5, 2 Goto→6, 3..6 Output, 7 End: the jump targets after each edit.
TEST_F(EditSessionTest, JumpTargetsFollowTheirSteps) {
  struct Row {
    std::string what;
    int command, row;
    const char* typed;  // into the new Goto's dialog, OK; nullptr cancels it
    PromptAnswer answer;
    std::vector<int32_t> targets;
  };
  const Row rows[] = {
      {"output after 4", 2018, 4, nullptr, PromptAnswer::Ok, {6, 7}},
      {"goto after 4, cancelled", 2021, 4, nullptr, PromptAnswer::Ok, {5, 7, 1}},
      {"goto after 4 to 6", 2021, 4, "6", PromptAnswer::Ok, {5, 7, 7}},
      {"goto after 4 to 5", 2021, 4, "5", PromptAnswer::Ok, {5, 7, 5}},
      // Bounded to the grown program's End by the dialog, and kept there by renumbering.
      {"goto after 4 to End", 2021, 4, "99", PromptAnswer::Ok, {5, 7, 8}},
      {"loop pair after 4", 2013, 4, nullptr, PromptAnswer::Ok, {7, 8}},
      {"insert cancelled", 2018, 4, nullptr, PromptAnswer::Cancel, {5, 6}},
      {"delete the target", 2014, 5, nullptr, PromptAnswer::Ok, {5, 5}},
      {"delete before both", 2014, 3, nullptr, PromptAnswer::Ok, {4, 5}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Make("SGGOOOOE");
    p.steps[1].target = 5;
    p.steps[2].target = 6;
    prompter.answers = {row.answer};
    if (row.typed) {
      dialogs.fills = {[t = row.typed](StepRecord& s, int32_t n) { (void)StoreGoto({t}, s, n); }};
    }
    UseTool(row.command, row.row);
    std::vector<int32_t> targets;
    for (int i = 0; i < p.count; ++i) {
      if (p.steps[i].Is(K::Goto)) targets.push_back(p.steps[i].target);
    }
    EXPECT_EQ(targets, row.targets);
  }
}

TEST_F(EditSessionTest, NewStepsDefaultsAndDialogAnswers) {
  // A cancelled insert prompt changes nothing at all.
  Make("SOE");
  prompter.answers = {PromptAnswer::Cancel};
  UseTool(2017, 1);
  EXPECT_EQ(Shape(), "SOE");
  EXPECT_FALSE(p.modified);
  EXPECT_TRUE(dialogs.opened.empty());

  // A Wait whose dialog is cancelled is one second long, whatever its slot held.
  p.steps[2].value = 100000;
  UseTool(2017, 1);
  const StepRecord& wait = p.steps[2];
  EXPECT_EQ(wait.value, 2);
  EXPECT_EQ(wait.size, 4);
  EXPECT_EQ(std::vector<uint8_t>(wait.code.begin(), wait.code.begin() + 4),
            (std::vector<uint8_t>{'T', 121, 23, 23}));

  // Editing: Cancel leaves the document clean; OK marks it and the code copy follows.
  p.modified = false;
  dialogs.fills = {nullptr, [](StepRecord& s, int32_t) { s.value = 6; }};
  ClickRow(2);
  EXPECT_FALSE(p.modified);
  ClickRow(2);
  EXPECT_TRUE(p.modified);
  EXPECT_EQ(p.steps[2].size, 8);
  EXPECT_EQ(p.steps[2].code[7], 23);

  // A new tune step names no tune until one is chosen, whatever its slot held.
  Make("STTE");
  ASSERT_TRUE(StoreTunePath(p.steps[2], "older.olg"));
  UseTool(2016, 1);
  EXPECT_EQ(StoredTunePath(p.steps[2]), "");
  EXPECT_EQ(p.steps[2].size, 0);
  EXPECT_EQ(StoredTunePath(p.steps[3]), "older.olg");

  // LoopEnd, Start and End have nothing to set. The loop count comes back from its dialog;
  // OK with the count unchanged is still an edit, Cancel is none.
  Make("S[]E");
  for (const int row : {0, 2, 3}) ClickRow(row);
  EXPECT_TRUE(dialogs.opened.empty());
  dialogs.loopCounts = {9, 9};
  ClickRow(1);
  EXPECT_EQ(p.steps[1].loopCount, 9);
  EXPECT_EQ(p.steps[1].code[1], 9);
  p.modified = false;
  ClickRow(1);
  EXPECT_TRUE(p.modified);
  p.modified = false;
  ClickRow(1);
  EXPECT_FALSE(p.modified);
  EXPECT_EQ(p.steps[1].loopCount, 9);
  EXPECT_TRUE(prompter.shown.empty());
}

// The window tests follow clicks, moves and scrolling to their rows; here what the session
// does around them.
TEST_F(EditSessionTest, ToolsAndClicks) {
  Make("SOOE");
  ASSERT_TRUE(SelectTool(state, 2014));
  for (const int notATool : {2004, 2015, 214}) EXPECT_FALSE(SelectTool(state, notATool));
  // Below the last step nothing happens and the tool stays.
  EXPECT_FALSE(Click(state, 100, 233, prompter, dialogs).repaintWindow);
  EXPECT_EQ(state.editMode, EditMode::kDelete);
  // Nothing edits while a transfer is sending the program.
  state.transferBusy = true;
  EXPECT_FALSE(ClickRow(1).repaintWindow);
  EXPECT_EQ(Shape(), "SOOE");
}

// A click on a step number marks a step that runs (not Start) whatever the tool; the marks stay on
// their steps as steps come and go, and a deleted step takes its mark with it.
TEST_F(EditSessionTest, BreakpointsStayOnTheirSteps) {
  Make("SO[W]OE");
  const auto marks = [&] {
    std::string on;
    for (int i = 0; i < p.count; ++i) on += state.breakpoints[i] ? '*' : '.';
    return on;
  };
  const auto mark = [&](int row) {
    Click(state, kSymbolLeft - 10, 64 + row * 48, prompter, dialogs);
  };
  ASSERT_TRUE(SelectTool(state, 2014));
  for (const int row : {0, 1, 3, 6}) mark(row);
  EXPECT_EQ(marks(), ".*.*..*");
  EXPECT_EQ(Shape(), "SO[W]OE") << "a mark is no edit, even with the delete tool";
  EXPECT_FALSE(p.modified);
  mark(3);
  mark(5);
  EXPECT_EQ(marks(), ".*...**");
  UseTool(2014, 2);  // the loop goes, its body stays
  EXPECT_EQ(Shape(), "SOWOE");
  EXPECT_EQ(marks(), ".*.**");
  UseTool(2017, 1);  // a wait after the first output
  EXPECT_EQ(Shape(), "SOWWOE");
  EXPECT_EQ(marks(), ".*..**");
  UseTool(2013, 5);  // a loop pair before End
  EXPECT_EQ(marks(), ".*..*..*");
  UseTool(2014, 1);
  EXPECT_EQ(marks(), "...*..*");
}

// What a save writes now.
std::vector<uint8_t> Saved(FlowProgram program) {
  const pendra2::testing::TempDir dir;
  EXPECT_TRUE(SaveFlowFile(program, dir / "p.flc").ok());
  return pendra2::testing::ReadBytes(dir / "p.flc");
}

// Every kind of operation on the same program, each undone and redone: the save after the
// undo is the save before the operation, the save after the redo the one after it, the
// changed flag follows the saved bytes, and the menu names the operation. An operation
// that leaves every byte as it was is no step.
TEST_F(EditSessionTest, EachOperationIsOneUndoStepBackToTheSavedBytes) {
  struct Row {
    std::string name, label;
    std::function<void()> act;
  };
  const auto click = [&](int tool, int row) {
    if (tool) SelectTool(state, tool);
    return EditLabel(state, 100, 64 + row * 48);
  };
  std::string label;
  const Row rows[] = {
      {"insert, dialog cancelled", "「待機」の挿入",
       [&] {
         label = click(2017, 3);
         UseTool(2017, 3);
       }},
      {"loop pair", "「繰り返し」の挿入",
       [&] {
         label = click(2013, 0);
         UseTool(2013, 0);
       }},
      {"nested loop deleted", "「繰り返し」の削除",
       [&] {
         label = click(2014, 1);
         UseTool(2014, 1);
       }},
      {"output's dialog", "「出力」の変更",
       [&] {
         dialogs.fills = {[](StepRecord& st, int32_t) { st.value = 0; }};
         label = click(0, 3);
         ClickRow(3);
       }},
      {"loop count", "繰り返し回数の変更",
       [&] {
         dialogs.loopCounts = {7};
         label = click(0, 2);
         ClickRow(2);
       }},
      {"cut", "切り取り",
       [&] {
         SelectSteps(state, 2, 4);
         CutSelection(state, prompter);
         label = "切り取り";
       }},
      {"paste", "貼り付け",
       [&] {
         SelectSteps(state, 2, 4);
         const auto block = CopySelection(state, prompter);
         PasteBlock(state, *block, prompter);
         label = "貼り付け";
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Make("S[[O]W]OE");
    state.editMode = EditMode::kEdit;
    EditHistory history;
    history.Reset(p);
    const std::vector<uint8_t> before = Saved(p);
    row.act();
    EXPECT_EQ(label, row.label);
    ASSERT_TRUE(history.Record(label, p));
    const std::vector<uint8_t> after = Saved(p);
    ASSERT_NE(before, after);
    EXPECT_EQ(history.UndoLabel(), row.label);
    ASSERT_TRUE(history.Undo(state));
    EXPECT_EQ(Saved(p), before);
    EXPECT_FALSE(p.modified) << "back at the bytes loaded";
    EXPECT_EQ(history.RedoLabel(), row.label);
    ASSERT_TRUE(history.Redo(state));
    EXPECT_EQ(Saved(p), after);
    EXPECT_TRUE(p.modified);
    history.MarkSaved();
    ASSERT_TRUE(history.Undo(state));
    EXPECT_TRUE(p.modified) << "undone past the save";
  }
  Make("SOE");
  EditHistory history;
  history.Reset(p);
  ClickRow(1);  // the dialog cancelled
  EXPECT_FALSE(history.Record("「出力」の変更", p));
  EXPECT_FALSE(history.CanUndo());
}

// 0 S, 1 [, 2 G->4, 3 ], 4 O, 5 G->7, 6 O, 7 E. Steps 1-5 pasted after 6: the pasted goto
// to 4 follows its block, the one to the End keeps naming the End, which moved on; a half
// loop is refused and so are pastes past the limits, changing nothing.
TEST_F(EditSessionTest, PastedJumpsFollowTheirBlockAndLimitsRefuse) {
  const auto make = [&] {
    Make("S[G]OGOE");
    p.steps[2].target = 4;
    p.steps[5].target = 7;
    Recompute(p);
  };
  make();
  SelectSteps(state, 1, 5);
  const std::optional<StepBlock> block = CopySelection(state, prompter);
  ASSERT_TRUE(block);
  const std::optional<StepBlock> decoded = DecodeBlock(EncodeBlock(*block));
  ASSERT_TRUE(decoded);
  state.anchorStep = 6;
  ASSERT_TRUE(PasteBlock(state, *decoded, prompter));
  EXPECT_EQ(Shape(), "S[G]OGO[G]OGE");
  EXPECT_EQ(p.steps[8].target, 10) << "inside the block: the pasted step 4";
  EXPECT_EQ(p.steps[11].target, 12) << "outside: still the End";
  EXPECT_EQ(p.steps[5].target, 12);
  EXPECT_EQ(p.steps[2].target, 4);
  EXPECT_EQ(std::pair(state.selectFirst, state.selectLast), std::pair(7, 11));

  make();
  SelectSteps(state, 2, 4);  // G ] O: an end without its start
  prompter.shown.clear();
  EXPECT_FALSE(CopySelection(state, prompter));
  EXPECT_FALSE(CutSelection(state, prompter));
  EXPECT_EQ(Shape(), "S[G]OGOE");
  ASSERT_EQ(prompter.shown.size(), 2u);
  EXPECT_EQ(prompter.shown[0].text, kHalfLoopText);

  // Three loops deep already: a pasted loop inside the innermost would be the fourth.
  Make("S[[[O]]]E");
  SelectSteps(state, 3, 5);
  const auto loop = CopySelection(state, prompter);
  ASSERT_TRUE(loop);
  state.anchorStep = 4;
  EXPECT_FALSE(PasteBlock(state, *loop, prompter));
  EXPECT_EQ(Shape(), "S[[[O]]]E");
  // Past the step limit.
  Make("S" + std::string(250, 'O') + "E");
  SelectSteps(state, 1, 5);
  EXPECT_FALSE(PasteBlock(state, *CopySelection(state, prompter), prompter));
  EXPECT_EQ(p.count, 252);
  EXPECT_EQ(prompter.shown.back().text, "最大登録数を超えました。");
  // Bytes that are no block: cut short, a Start inside, another version.
  std::vector<uint8_t> bytes = EncodeBlock(*block);
  for (auto damaged : {std::vector<uint8_t>(bytes.begin(), bytes.end() - 1),
                       std::vector<uint8_t>(bytes.begin(), bytes.begin() + 9)}) {
    EXPECT_FALSE(DecodeBlock(damaged));
  }
  std::vector<uint8_t> start = bytes;
  start[10] = 0;  // the first record's kind: Start
  EXPECT_FALSE(DecodeBlock(start));
  bytes[4] = 2;
  EXPECT_FALSE(DecodeBlock(bytes));
}

// Thumbs past either end and other requests; only line and page requests repaint the toolbar.
TEST_F(EditSessionTest, ScrollLimits) {
  using R = ScrollRequest;
  const std::tuple<int, R, int, int> rows[] = {// topStep, request, thumb -> topStep
                                               {0, R::LineUp, 0, 0},
                                               {3, R::ThumbPosition, -4, 0},
                                               {3, R::ThumbPosition, 70000, 0xFFFF},
                                               {3, R::Other, 12, 3}};
  Make("S" + std::string(18, 'O') + "E");
  for (const auto& [top, request, thumb, expected] : rows) {
    state.topStep = top;
    const ScrollUpdate update = Scroll(state, request, thumb);
    EXPECT_EQ(state.topStep, expected) << top << " " << static_cast<int>(request);
    EXPECT_EQ(update.position, expected);
    EXPECT_EQ(update.rangeMax, 19);
    EXPECT_EQ(update.repaintToolbar, request == R::LineUp);
  }
}

}  // namespace
}  // namespace pendra2::flowchart::testing
