// Clicks, moves and scrolling in the score window, through the editor core.

#include "melody/score_editor.h"

#include <gtest/gtest.h>

#include "helpers.h"
#include "melody/loop_placement.h"
#include "melody/score_edits.h"
#include "scripted.h"

namespace pendra2::melody::testing {
namespace {

using interaction::PromptAnswer;

// Client x of grid column j, client y of the row of code c.
constexpr int X(int j) {
  return 92 + 25 * j;
}
constexpr int Y(int c) {
  return (23 - c) * 18 + 9;
}

struct Editor {
  MelodyState state;
  ScriptedPrompter prompter;
  ScriptedCounts counts;
  ReleaseEffect Click(int x, int y, bool found = true) {
    return ReleaseInScore(state, x, y, found, prompter, counts);
  }
};

std::vector<int> SentOf(const ReleaseEffect& e) {
  return {e.sends.codes.begin(), e.sends.codes.begin() + e.sends.count};
}

TEST(ScoreEditor, EditModeClicks) {
  struct Case {
    const char* name;
    const char* before;
    int scroll;
    int x, y;
    const char* after;
    std::vector<int> sent;
    bool modified;
  };
  const Case cases[] = {
      {"note placed", "", 0, X(0), Y(4), "4", {4, 23}, true},
      {"same note again empties", "4", 0, X(0), Y(4), "-", {23}, true},
      {"other row replaces", "4", 0, X(0), Y(7), "7", {7, 23}, true},
      {"rest row", "", 0, X(1), 5, "- 23", {23, 23}, true},
      {"scrolled view", "", 3, X(0), Y(0), "- - - 0", {0, 23}, true},
      {"count cell", "l 2 5", 0, X(1), Y(3), "l 2 5", {}, true},
      {"loop end parameter", "l 1 5 L 0 0 2", 0, X(6), Y(3), "l 1 5 L 0 0 2", {}, true},
      {"below the last row", "", 0, X(0), 432, "-", {}, false},
      {"left of the grid", "", 0, 79, Y(3), "-", {}, false},
      {"right of the grid", "", 0, 605, Y(3), "-", {}, false},
      {"left column boundary", "", 0, 81, Y(1), "1", {1, 23}, true},
      {"right column boundary",
       "",
       0,
       604,
       Y(1),
       "- - - - - - - - - - - - - - - - - - - - 1",
       {1, 23},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Editor ed;
    ed.state.score = ScoreOf(c.before);
    ed.state.scrollPos = c.scroll;
    const auto effect = ed.Click(c.x, c.y);
    const Cols want = C(c.after);
    EXPECT_EQ(Head(ed.state.score, want.size()), want);
    EXPECT_EQ(SentOf(effect), c.sent);
    EXPECT_EQ(ed.state.score.modified, c.modified);
    EXPECT_TRUE(ed.prompter.asked.empty());
  }
}

TEST(ScoreEditor, NoBoardNoSoundsButTheEditStands) {
  Editor ed;
  EXPECT_TRUE(SentOf(ed.Click(X(0), Y(4), false)).empty());
  EXPECT_EQ(ed.state.score.cells[0], 4);
}

TEST(ScoreEditor, KeyboardClicksToggleTheLiveNote) {
  Editor ed;
  EXPECT_EQ(SentOf(ed.Click(60, 415)), std::vector<int>{0});   // C1
  EXPECT_EQ(SentOf(ed.Click(60, 415)), std::vector<int>{23});  // again: silence
  EXPECT_EQ(SentOf(ed.Click(20, 400)), std::vector<int>{1});   // black key C1s
  EXPECT_EQ(ed.state.liveNote, 1);
  EXPECT_TRUE(SentOf(ed.Click(60, 2)).empty());  // above every key
  EXPECT_FALSE(ed.state.score.modified);
}

TEST(ScoreEditor, LoopCountDialog) {
  struct Case {
    std::optional<int> answer;
    int count;
  };
  for (const Case& c : {Case{7, 7}, Case{std::nullopt, 2}}) {
    Editor ed;
    ed.state.score = ScoreOf("l 2 5 L 0 0 2");
    ed.counts.loops = {c.answer};
    ed.Click(X(0), Y(5));
    EXPECT_EQ(ed.counts.loopInitial, std::vector<int>{2});
    EXPECT_EQ(ed.state.score.cells[1], c.count);
    EXPECT_TRUE(ed.state.score.modified);
  }
}

TEST(ScoreEditor, LoopEndOffersTheJump) {
  for (const auto answer : {PromptAnswer::Yes, PromptAnswer::No}) {
    Editor ed;
    ed.state.score = ScoreOf("- - - - - - - - - - - - - - l 1 5 L 0 0 16");
    ed.state.scrollPos = 10;
    ed.prompter.answers = {answer};
    const auto effect = ed.Click(X(7), Y(0));
    EXPECT_EQ(ed.prompter.asked, std::vector<std::string>{"ループ: ループ元にジャンプしますか？"});
    EXPECT_EQ(ed.state.scrollPos, answer == PromptAnswer::Yes ? 14 : 10);
    EXPECT_EQ(effect.scrollMoved, answer == PromptAnswer::Yes);
    EXPECT_TRUE(ed.state.score.modified);
  }
}

TEST(ScoreEditor, InsertAndDeleteModes) {
  struct Case {
    const char* name;
    int mode;
    const char* before;
    int x;
    std::optional<int> count;  // the dialog's answer; nullopt: a Yes/No question instead
    PromptAnswer answer;
    const char* after;
    std::vector<int> dialogs;
    bool modified;
  };
  const Case cases[] = {
      {"insert 2", kInsertMode, "1 2 3", X(1), 2, PromptAnswer::Ok, "1 - - 2 3", {185}, true},
      {"insert cancelled", kInsertMode, "1 2 3", X(1), 0, PromptAnswer::Ok, "1 2 3", {185}, true},
      {"insert at a count cell goes before the mark",
       kInsertMode,
       "1 l 2 3 L 0 0 3",
       X(2),
       1,
       PromptAnswer::Ok,
       "1 - l 2 3 L 0 0 4",
       {185},
       true},
      {"delete 2", kDeleteMode, "1 2 3 4", X(1), 2, PromptAnswer::Ok, "1 4 - -", {184}, true},
      {"delete steps over a start mark",
       kDeleteMode,
       "1 l 2 3 4 L 0 0 3",
       X(0),
       2,
       PromptAnswer::Ok,
       "l 2 4 L 0 0 2 - -",
       {184},
       true},
      {"loop removed on Yes",
       kDeleteMode,
       "1 l 2 3 L 0 0 3 4",
       X(1),
       std::nullopt,
       PromptAnswer::Yes,
       "1 3 4 - - - - - -",
       {},
       true},
      {"loop kept on No",
       kDeleteMode,
       "1 l 2 3 L 0 0 3 4",
       X(5),
       std::nullopt,
       PromptAnswer::No,
       "1 l 2 3 L 0 0 3 4",
       {},
       true},
      {"insert beside the grid asks nothing",
       kInsertMode,
       "1",
       40,
       3,
       PromptAnswer::Ok,
       "1",
       {},
       false},
      {"delete beside the grid asks nothing",
       kDeleteMode,
       "1",
       700,
       3,
       PromptAnswer::Ok,
       "1",
       {},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Editor ed;
    ed.state.score = ScoreOf(c.before);
    ed.state.editMode = c.mode;
    if (c.count) ed.counts.columns = {*c.count};
    ed.prompter.answers = {c.answer};
    ed.Click(c.x, Y(3));
    const Cols want = C(c.after);
    EXPECT_EQ(Head(ed.state.score, want.size()), want);
    EXPECT_EQ(ed.counts.opened, c.dialogs);
    EXPECT_EQ(ed.state.editMode, kEditMode);
    EXPECT_EQ(ed.state.score.modified, c.modified);
    EXPECT_EQ(ed.prompter.asked.size(), c.count ? 0U : 1U);
  }
}

TEST(ScoreEditor, BelowTheLastRowNoModeAsksAnything) {
  for (const int mode : {kInsertMode, kDeleteMode, kLoopStartMode}) {
    Editor ed;
    ed.state.score = ScoreOf("1 l 2 3 L 0 0 3");
    ed.state.editMode = mode;
    ed.counts.columns = {1};
    ed.counts.loops = {1};
    ed.Click(X(1), 440);
    EXPECT_TRUE(ed.counts.opened.empty()) << mode;
    EXPECT_TRUE(ed.prompter.asked.empty()) << mode;
    EXPECT_FALSE(ed.state.score.modified) << mode;
  }
}

TEST(ScoreEditor, LoopWrittenByHandPlaysItsBody) {
  Editor ed;
  ed.state.score = ScoreOf("0 2 4 5");
  ed.state.editMode = kLoopStartMode;
  ed.counts.loops = {2};
  ed.Click(X(1), Y(0));
  EXPECT_EQ(ed.state.editMode, kLoopEndMode);
  ed.Click(X(0), Y(0));  // before the open loop: nothing, the mode stays
  ed.Click(X(3), Y(0));  // right after the count: an empty body is refused too
  EXPECT_EQ(ed.state.editMode, kLoopEndMode);
  ed.Click(X(5), Y(0));  // before the 5
  EXPECT_EQ(ed.state.editMode, kEditMode);
  EXPECT_EQ(Head(ed.state.score, 11), C("0 l 2 2 4 L 0 0 3 5 -"));
  EXPECT_EQ(PlayWhole(ed.state.score), C("0 2 4 2 4 2 4 5 24 23"));
}

TEST(ScoreEditor, LoopAroundALoopDeepensTheInnerOne) {
  Score score = ScoreOf("1 l 0 2 L 0 0 3 4");
  ASSERT_TRUE(PlaceLoopStart(score, 0, 1));
  ASSERT_TRUE(PlaceLoopEnd(score, 10));  // before the 4
  EXPECT_EQ(Head(score, 15), C("l 1 1 l 0 2 L 1 0 5 L 0 0 2 4"));
  EXPECT_EQ(PlayWhole(score), C("1 2 1 2 4 24 23"));
}

TEST(ScoreEditor, LoopStartCancelledOrWithoutRoom) {
  Editor ed;
  ed.state.editMode = kLoopStartMode;
  ed.Click(X(0), Y(0));  // dialog cancelled
  EXPECT_EQ(ed.state.editMode, kEditMode);
  EXPECT_EQ(ed.state.score.cells[0], kEmpty);

  Editor full;
  full.state.score.cells.fill(3);
  full.state.editMode = kLoopStartMode;
  full.counts.loops = {1};
  full.Click(X(0), Y(0));
  EXPECT_EQ(full.prompter.asked.size(), 1U);
  EXPECT_EQ(full.state.score.cells[0], 3);  // nothing pushed off the end
}

TEST(ScoreEditor, HoverKey) {
  struct Case {
    int x, y, playMode, before, after;
    bool redraw;
  };
  const Case cases[] = {
      {100, 19, kNoPlayback, 0, 1, true},  {100, 20, kNoPlayback, 1, 1, false},
      {60, 415, kNoPlayback, 0, 23, true}, {20, 400, kNoPlayback, 0, 22, true},
      {60, 2, kNoPlayback, 5, 0, true},    {700, 100, kNoPlayback, 5, 0, true},
      {100, 19, kWholeTune, 0, 0, false},
  };
  for (const Case& c : cases) {
    MelodyState state;
    state.hoverKey = c.before;
    state.playback.playMode = c.playMode;
    EXPECT_EQ(MoveInScore(state, c.x, c.y), c.redraw) << c.x << "," << c.y;
    EXPECT_EQ(state.hoverKey, c.after) << c.x << "," << c.y;
  }
}

TEST(ScoreEditor, Scrolling) {
  struct Case {
    int from;
    ScrollStep step;
    int thumb, to;
  };
  const Case cases[] = {
      {0, ScrollStep::kLineLeft, 0, 0},      {5, ScrollStep::kLineLeft, 0, 4},
      {490, ScrollStep::kLineRight, 0, 490}, {480, ScrollStep::kPageRight, 0, 490},
      {15, ScrollStep::kPageLeft, 0, 0},     {0, ScrollStep::kThumb, 250, 250},
      {0, ScrollStep::kThumb, 900, 490},     {0, ScrollStep::kThumb, -4, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ScrollAfter(c.from, c.step, c.thumb), c.to);
}

}  // namespace
}  // namespace pendra2::melody::testing
