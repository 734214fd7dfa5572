// New score, save and load: the unsaved-changes question and its answers.

#include "melody/score_files.h"

#include <gtest/gtest.h>

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
  TempDir dir;
  const std::string good = (dir / "ok").string();
  const std::string bad = (dir / "no" / "such" / "folder" / "t.olg").string();
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
    std::vector<std::string> asked;
    if (c.answer) asked.push_back("終了: 内容が変更されています\n保存しますか？");
    if (c.file == bad) asked.push_back("Error Message: Save File Open Error");
    EXPECT_EQ(s.prompter.asked, asked);
    EXPECT_EQ(fs::exists(good + ".olg"), c.saved);
    EXPECT_EQ(s.title, c.saved ? "スコア編集 [ok.olg]" : std::string(kNoTitle));
    // The score is never lost by the question itself.
    EXPECT_EQ(s.state.score.cells[0], 5);
    EXPECT_EQ(s.state.score.modified, c.modified && !c.saved);
  }
}

TEST(ScoreFiles, SaveThenLoadBringsTheTuneBackAFailedLoadChangesNothing) {
  TempDir dir;
  Session s;
  s.state.score = ScoreOf("0 l 2 4 L 0 0 3 7");
  SetTempoIndex(s.state.score, 9);
  const std::string path = (dir / "round").string();
  s.files.paths = {path};
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
  EXPECT_EQ(s.files.titles, std::vector<std::string>{"オルゴールファイル保存"});
  EXPECT_EQ(t.files.titles, std::vector<std::string>{"オルゴールファイル読込み"});

  t.state.score.cells[0] = 5;
  t.state.scrollPos = 30;
  t.files.paths = {(dir / "missing").string()};
  EXPECT_FALSE(LoadScore(t.doc));
  EXPECT_EQ(t.prompter.asked, std::vector<std::string>{"Error Message: Load File Open Error"});
  EXPECT_EQ(std::tuple(int{t.state.score.cells[0]}, t.state.scrollPos), std::tuple(5, 30));
  EXPECT_EQ(t.title, "スコア編集 [round.olg]");
}

// A running playback stops at once, without the closing silence; the view stays where it was.
TEST(ScoreFiles, NewScoreStopsPlaybackResetsAndKeepsTheScrollPosition) {
  Session s;
  s.state.score = ScoreOf("1 2 - 5");
  SetTempoIndex(s.state.score, 7);
  s.state.scrollPos = 30;
  s.state.playback.loopPlay = true;
  StartWholePlayback(s.state.playback, s.state.score, 0);
  EXPECT_FALSE(MayRunOrStopBoard(true, s.state.playback));
  s.title = "スコア編集 [a.olg]";
  NewScoreDocument(s.doc);
  EXPECT_EQ(s.state.score.cells, EmptyCells());
  EXPECT_EQ(std::pair(s.state.score.tempoIndex, int{s.state.score.tempoPair[1]}), std::pair(2, 80));
  EXPECT_EQ(std::tuple(s.state.playback.playState, s.state.playback.playMode),
            std::tuple(int{kIdle}, int{kNoPlayback}));
  EXPECT_FALSE(s.state.playback.loopPlay ||
               PlaybackTick(s.state.playback, s.state.score, 0, true).running);
  EXPECT_TRUE(MayRunOrStopBoard(true, s.state.playback));
  EXPECT_EQ(s.state.scrollPos, 30);
  EXPECT_EQ(s.title, kNoTitle);
}

}  // namespace
}  // namespace pendra2::melody::testing
