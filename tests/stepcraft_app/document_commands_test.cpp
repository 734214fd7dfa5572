// The file commands and the save-changes question, answered by a scripted user, and
// Stepcraft's command line.

#include "flowchart/document_commands.h"

#include <gtest/gtest.h>

#include <memory>

#include "flowchart/flow_file.h"
#include "flowchart/program_builder.h"
#include "flowchart/stepcraft_arguments.h"
#include "flowchart/temp_dir.h"
#include "stepcraft_app/scripted_user.h"

namespace pendra2::flowchart {
namespace {

using interaction::FileDialogKind;
using interaction::PromptAnswer;
using testing::K;
using testing::Step;

enum class SaveDialog { NotShown, Confirmed, Cancelled, Failed };

struct Fixture {
  pendra2::testing::TempDir dir;
  std::unique_ptr<StepcraftState> state = std::make_unique<StepcraftState>();
  pendra2::testing::ScriptedPrompter prompter;
  pendra2::testing::ScriptedFiles files;
  DocumentCommands commands{*state, prompter, files};

  // An edited, unsaved three-step program.
  void Edit() {
    testing::Build(state->program, {Step(K::Wait, 2)});
    state->program.modified = true;
  }
  std::string PathOf(const std::string& name) const { return (dir / name).string(); }
};

// Runs the command the way its menu item does; true when it went past the question.
bool RunGuarded(Fixture& f, GuardedCommand command) {
  switch (command) {
    case GuardedCommand::kNew:
      f.commands.New();
      return f.state->program.count == 2;
    case GuardedCommand::kOpen:
      f.commands.Open();  // the open dialog, when shown, is cancelled
      return !f.files.shown.empty() && f.files.shown.back().kind == FileDialogKind::Open;
    case GuardedCommand::kExit:
    case GuardedCommand::kClose:
      return f.commands.MayDiscard(command);
  }
  return false;
}

TEST(SaveChangesMatrix, EveryCommandAnswerAndSaveDialog) {
  struct Row {
    GuardedCommand command;
    PromptAnswer answer;
    SaveDialog save;
    bool goesOn;
  };
  std::vector<Row> rows;
  for (GuardedCommand c : {GuardedCommand::kNew, GuardedCommand::kOpen, GuardedCommand::kExit,
                           GuardedCommand::kClose}) {
    rows.push_back({c, PromptAnswer::No, SaveDialog::NotShown, true});
    rows.push_back({c, PromptAnswer::Cancel, SaveDialog::NotShown, false});
    rows.push_back({c, PromptAnswer::Yes, SaveDialog::Confirmed, true});
    // Only open goes on past a cancelled save dialog: it offers its own dialog next.
    rows.push_back({c, PromptAnswer::Yes, SaveDialog::Cancelled, c == GuardedCommand::kOpen});
    // A save that failed never lets the unsaved program be replaced.
    rows.push_back({c, PromptAnswer::Yes, SaveDialog::Failed, false});
  }
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message()
                 << "command " << static_cast<int>(row.command) << " answer "
                 << static_cast<int>(row.answer) << " save " << static_cast<int>(row.save));
    Fixture f;
    f.Edit();
    f.prompter.answers = {row.answer};
    const std::string target = f.PathOf("saved");
    if (row.save == SaveDialog::Confirmed) f.files.answers.push_back(target);
    if (row.save == SaveDialog::Cancelled) f.files.answers.push_back(std::nullopt);
    if (row.save == SaveDialog::Failed) f.files.answers.push_back(f.PathOf("gone/saved.flc"));

    EXPECT_EQ(RunGuarded(f, row.command), row.goesOn);

    ASSERT_FALSE(f.prompter.shown.empty());
    EXPECT_EQ(f.prompter.shown[0].text, kSaveChangesText);
    EXPECT_EQ(f.prompter.shown[0].caption, kSaveChangesCaption);
    EXPECT_EQ(f.prompter.shown[0].buttons, interaction::PromptButtons::YesNoCancel);
    const bool saveShown = !f.files.shown.empty() && f.files.shown[0].kind == FileDialogKind::Save;
    EXPECT_EQ(saveShown, row.save != SaveDialog::NotShown);
    EXPECT_EQ(std::filesystem::exists(target + ".flc"), row.save == SaveDialog::Confirmed);
    if (row.save == SaveDialog::Failed) {
      EXPECT_EQ(f.prompter.shown.back().caption, kErrorCaption);
      EXPECT_EQ(f.prompter.shown.back().text, kSaveOpenError);
    }
    if (!row.goesOn) {
      // Stopped: the program and its unsaved mark are as they were.
      EXPECT_EQ(f.state->program.count, 3);
      EXPECT_TRUE(f.state->program.modified);
      EXPECT_EQ(f.state->documentTitle, kUntitledTitle);
    }
  }
}

TEST(FlowPathRules, CompletionAndTitleName) {
  struct Row {
    std::string chosen, completed, title;
  } rows[] = {
      {"prog", "prog.flc", "アクティビティ図編集 [prog.flc]"},
      {"prog.txt", "prog.txt", "アクティビティ図編集 [prog.txt]"},
      // A dot in a folder name counts: the name is used as it is.
      {"/home/u.v/prog", "/home/u.v/prog", "アクティビティ図編集 [prog]"},
      {"C:\\データ\\作品.flc", "C:\\データ\\作品.flc", "アクティビティ図編集 [作品.flc]"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(CompleteFlowPath(r.chosen), r.completed);
    EXPECT_EQ(DocumentTitleFor(CompleteFlowPath(r.chosen)), r.title);
  }
}

TEST(FileCommands, FailedLoadAndSaveKeepTheDocumentAsItWas) {
  Fixture f;
  EXPECT_TRUE(f.commands.MayDiscard(GuardedCommand::kExit));  // clean: nothing to ask
  EXPECT_TRUE(f.prompter.shown.empty());
  f.Edit();
  f.files.answers = {f.PathOf("first.flc")};
  ASSERT_EQ(f.commands.SaveAs(), SaveResult::kSaved);
  const auto before = pendra2::testing::ReadBytes(f.PathOf("first.flc"));
  f.state->program.modified = true;

  f.files.answers = {f.PathOf("missing.flc")};
  f.prompter.answers = {PromptAnswer::No};
  f.commands.Open();
  EXPECT_EQ(f.prompter.shown.back().text, kLoadOpenError);

  f.files.answers = {f.PathOf("gone/second.flc")};
  EXPECT_EQ(f.commands.SaveAs(), SaveResult::kFailed);
  EXPECT_EQ(f.prompter.shown.back().text, kSaveOpenError);

  EXPECT_EQ(f.state->documentPath, f.PathOf("first.flc"));
  EXPECT_EQ(f.state->documentTitle, "アクティビティ図編集 [first.flc]");
  EXPECT_TRUE(f.state->program.modified);
  EXPECT_EQ(f.state->program.count, 3);
  EXPECT_EQ(pendra2::testing::ReadBytes(f.PathOf("first.flc")), before);
}

TEST(StepcraftArguments, ViewModeFileAndRefusals) {
  struct Row {
    std::vector<std::string> args;
    int32_t viewMode;
    std::optional<std::string> file;
    bool refused = false;
  } rows[] = {
      {{}, 1, std::nullopt},
      {{"/B"}, 4, std::nullopt},
      {{"-J"}, 5, std::nullopt},
      {{"-x"}, 1, std::nullopt},
      {{"-F", "作品.flc"}, 0, "作品.flc"},
      {{"a.flc", "b.flc"}, 1, "a.flc", true},
      {{"--verbose"}, 1, std::nullopt, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.args.empty() ? std::string("(none)") : r.args[0]);
    const StepcraftArguments parsed = ParseStepcraftArguments(r.args);
    EXPECT_EQ(!parsed.error.empty(), r.refused);
    if (r.refused) continue;
    EXPECT_EQ(parsed.viewMode, r.viewMode);
    EXPECT_EQ(parsed.file, r.file);
  }
}

}  // namespace
}  // namespace pendra2::flowchart
