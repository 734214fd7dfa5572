// New score, save and load: the unsaved-changes question and its answers.

#include "melody/score_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "helpers.h"
#include "scripted.h"

namespace pendra2::melody::testing {
namespace {

using interaction::PromptAnswer;
namespace fs = std::filesystem;

struct Session {
  MelodyState state;
  std::string title{kNoTitle};
  ScriptedPrompter prompter;
  ScriptedFiles files;
  ScoreDocument doc{state, title, prompter, files};
};

fs::path Scratch(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("chime_files_" + std::to_string(getpid()));
  fs::create_directories(dir);
  return dir / name;
}

TEST(ScoreFiles, PathsAndTitles) {
  EXPECT_EQ(CompleteTunePath("a/tune"), "a/tune.olg");
  EXPECT_EQ(CompleteTunePath("a.b/tune"), "a.b/tune");
  EXPECT_EQ(CompleteTunePath("tune.olg"), "tune.olg");
  EXPECT_EQ(TitleForPath("/home/u/曲/春.olg"), "スコア編集 [春.olg]");
  EXPECT_EQ(TitleForPath("C:\\曲\\tune.olg"), "スコア編集 [tune.olg]");
  EXPECT_EQ(TitleForPath("tune.olg"), "スコア編集 [tune.olg]");
}

// Every way through the question before the score is thrown away.
TEST(ScoreFiles, SaveChangesMatrix) {
  struct Case {
    const char* name;
    bool modified;
    std::optional<PromptAnswer> answer;  // nothing: no question expected
    std::optional<std::string> file;     // the save dialog's answer
    bool mayGoOn;
    bool saved;
  };
  const std::string good = Scratch("ok").string();
  const std::string bad = (Scratch("x") / "no" / "such" / "folder" / "t.olg").string();
  const Case cases[] = {
      {"unchanged", false, std::nullopt, std::nullopt, true, false},
      {"no", true, PromptAnswer::No, std::nullopt, true, false},
      {"cancel", true, PromptAnswer::Cancel, std::nullopt, false, false},
      {"yes, saved", true, PromptAnswer::Yes, good, true, true},
      {"yes, dialog cancelled", true, PromptAnswer::Yes, std::nullopt, false, false},
      {"yes, save failed", true, PromptAnswer::Yes, bad, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(good + ".olg");
    Session s;
    s.state.score.cells[0] = 5;
    s.state.score.modified = c.modified;
    if (c.answer) s.prompter.answers = {*c.answer};
    s.files.paths = {c.file};
    EXPECT_EQ(MayDiscardScore(s.doc), c.mayGoOn);
    if (c.answer) {
      ASSERT_GE(s.prompter.asked.size(), 1U);
      EXPECT_EQ(s.prompter.asked[0], "終了: 内容が変更されています\n保存しますか？");
    } else {
      EXPECT_TRUE(s.prompter.asked.empty());
    }
    EXPECT_EQ(fs::exists(good + ".olg"), c.saved);
    EXPECT_EQ(s.title, c.saved ? "スコア編集 [ok.olg]" : std::string(kNoTitle));
    // The score is never lost by the question itself.
    EXPECT_EQ(s.state.score.cells[0], 5);
    EXPECT_EQ(s.state.score.modified, c.modified && !c.saved);
    if (std::string(c.name) == "yes, save failed") {
      EXPECT_EQ(s.prompter.asked.back(), "Error Message: Save File Open Error");
    }
  }
}

TEST(ScoreFiles, SaveThenLoadBringsTheTuneBack) {
  Session s;
  s.state.score = ScoreOf("0 l 2 4 L 0 0 3 7");
  SetTempoIndex(s.state.score, 9);
  const std::string path = Scratch("round").string();
  s.files.paths = {path, path + ".olg"};
  ASSERT_TRUE(SaveScoreAs(s.doc));
  Session t;
  t.state.scrollPos = 40;
  t.files.paths = {path + ".olg"};
  ASSERT_TRUE(LoadScore(t.doc));
  EXPECT_EQ(Head(t.state.score, 10), C("0 l 2 4 L 0 0 3 7 24"));
  EXPECT_EQ(t.state.score.tempoIndex, 9);
  EXPECT_EQ(t.state.scrollPos, 0);
  EXPECT_EQ(t.title, "スコア編集 [round.olg]");
  EXPECT_FALSE(t.state.score.modified);
}

TEST(ScoreFiles, FailedLoadChangesNothing) {
  Session s;
  s.state.score.cells[0] = 5;
  s.state.scrollPos = 30;
  s.files.paths = {Scratch("missing").string()};
  EXPECT_FALSE(LoadScore(s.doc));
  EXPECT_EQ(s.prompter.asked, std::vector<std::string>{"Error Message: Load File Open Error"});
  EXPECT_EQ(s.state.score.cells[0], 5);
  EXPECT_EQ(s.state.scrollPos, 30);
  EXPECT_EQ(s.title, kNoTitle);
}

TEST(ScoreFiles, NewScoreResetsButKeepsTheScrollPosition) {
  Session s;
  s.state.score.cells[3] = 5;
  s.state.scrollPos = 30;
  s.state.playback.loopPlay = true;
  s.state.playback.playState = kPlaying;
  s.title = "スコア編集 [a.olg]";
  NewScoreDocument(s.doc);
  EXPECT_EQ(s.state.score.cells[3], kEmpty);
  EXPECT_EQ(s.state.score.tempoIndex, 2);
  EXPECT_FALSE(s.state.playback.loopPlay);
  EXPECT_EQ(s.state.playback.playState, kIdle);
  EXPECT_EQ(s.state.scrollPos, 30);
  EXPECT_EQ(s.title, kNoTitle);
}

}  // namespace
}  // namespace pendra2::melody::testing
