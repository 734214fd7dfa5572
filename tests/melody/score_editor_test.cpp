// Clicks, moves and scrolling in the score window, through the editor core.

#include "melody/score_editor.h"

#include <gtest/gtest.h>

#include "helpers.h"
#include "melody/live_note.h"
#include "melody/loop_placement.h"
#include "melody/score_edits.h"
#include "scripted.h"

namespace pendra2::melody::testing {
namespace {

using interaction::PromptAnswer;

struct Editor {
  MelodyState state;
  ScriptedPrompter prompter;
  ScriptedCounts counts;
  ReleaseEffect Click(int x, int y) { return ReleaseInScore(state, x, y, true, prompter, counts); }
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
      {"keyboard: C1", "", 0, 60, 415, "-", {0}, false},
      {"keyboard: black key C1s", "", 0, 20, 400, "-", {1}, false},
      {"keyboard: above every key", "", 0, 60, 2, "-", {}, false},
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

TEST(LiveNote, KeyboardHitsAndSends) {
  // x, y, key: black keys first on their left half, then the white keys; gaps hit nothing.
  const std::array<int, 3> keys[] = {{10, 400, 1}, {50, 400, 2}, {38, 21, 22}, {39, 21, -1},
                                     {78, 32, 21}, {79, 32, -1}, {60, 402, -1}};
  for (const auto& [x, y, key] : keys) EXPECT_EQ(KeyAt(x, y).value_or(-1), key) << x << "," << y;

  const auto sent = [](const Sends& s) { return Cols(s.codes.begin(), s.codes.begin() + s.count); };
  int live = kNoLiveNote;
  EXPECT_EQ(sent(ToggleLiveNote(live, 7, true, kIdle)), Cols{7});
  EXPECT_EQ(sent(ToggleLiveNote(live, 7, true, kIdle)), Cols{23});  // same key: silence
  EXPECT_EQ(live, kNoLiveNote);
  ToggleLiveNote(live, 7, true, kIdle);
  EXPECT_EQ(sent(ToggleLiveNote(live, 9, true, kIdle)), Cols{9});
  // Without a board or during a transfer nothing is sent, but the live note follows.
  EXPECT_EQ(ToggleLiveNote(live, 4, false, kIdle).count, 0);
  EXPECT_EQ(live, 4);
  EXPECT_EQ(ToggleLiveNote(live, 4, true, kTransferring).count, 0);
  EXPECT_EQ(live, kNoLiveNote);
  EXPECT_EQ(sent(ToggleLiveNote(live, 4, true, kPlaying)), Cols{4});

  EXPECT_EQ(sent(NoteEntrySounds(uint8_t{12}, true, kIdle)), (Cols{12, 23}));
  EXPECT_EQ(sent(NoteEntrySounds(std::nullopt, true, kPlaying)), Cols{23});
  EXPECT_EQ(NoteEntrySounds(uint8_t{12}, false, kIdle).count, 0);
  EXPECT_EQ(NoteEntrySounds(uint8_t{12}, true, kTransferring).count, 0);
}

// A click on a start mark edits its count (a cancelled dialog keeps it), one on an end mark
// offers the jump to its loop's start; either counts as a change.
TEST(ScoreEditor, ClicksOnLoopMarks) {
  for (const bool yes : {true, false}) {
    Editor ed;
    ed.state.score = ScoreOf("- - - - - - - - - - - - - - l 2 5 L 0 0 16");
    ed.state.scrollPos = 10;
    ed.counts.loops = {yes ? std::optional(7) : std::nullopt};
    ed.prompter.answers = {yes ? PromptAnswer::Yes : PromptAnswer::No};
    ed.Click(X(4), Y(5));
    EXPECT_EQ(ed.counts.loopInitial, std::vector<int>{2});
    EXPECT_EQ(ed.state.score.cells[15], yes ? 7 : 2);
    EXPECT_TRUE(ed.state.score.modified);
    ed.state.score.modified = false;
    EXPECT_EQ(ed.Click(X(7), Y(0)).scrollMoved, yes);
    EXPECT_EQ(ed.prompter.asked, std::vector<std::string>{"ループ: ループ元にジャンプしますか？"});
    EXPECT_EQ(ed.state.scrollPos, yes ? 14 : 10);
    EXPECT_TRUE(ed.state.score.modified);
  }
}

// Insert and delete last for one release. A release on a column counts as a change whatever
// the answer; one beside the grid or below its last row asks nothing and changes nothing.
TEST(ScoreEditor, InsertAndDeleteModes) {
  constexpr int kYes = -1, kNo = -2;  // answers to the loop question instead of a count
  struct Case {
    const char* name;
    int mode;
    const char* before;
    int x, y;
    int answer;
    const char* after;
    int dialog;  // 0: none
  };
  const Case cases[] = {
      {"insert 2", kInsertMode, "1 2 3", X(1), Y(3), 2, "1 - - 2 3", 185},
      {"insert cancelled", kInsertMode, "1 2 3", X(1), Y(3), 0, "1 2 3", 185},
      {"at a count", kInsertMode, "1 l 2 3 L 0 0 3", X(2), Y(3), 1, "1 - l 2 3 L 0 0 4", 185},
      {"delete 2", kDeleteMode, "1 2 3 4", X(1), Y(3), 2, "1 4 - -", 184},
      {"over a mark", kDeleteMode, "1 l 2 3 4 L 0 0 3", X(0), Y(3), 2, "l 2 4 L 0 0 2 - -", 184},
      {"loop removed", kDeleteMode, "1 l 2 3 L 0 0 3 4", X(1), Y(3), kYes, "1 3 4 - - - - - -", 0},
      {"loop kept", kDeleteMode, "1 l 2 3 L 0 0 3 4", X(5), Y(3), kNo, "1 l 2 3 L 0 0 3 4", 0},
      {"insert beside", kInsertMode, "1", 40, Y(3), 3, "1 -", 0},
      {"delete beside", kDeleteMode, "1", 700, Y(3), 3, "1 -", 0},
      {"insert below", kInsertMode, "1 l 2 3", X(1), 440, 1, "1 l 2 3 -", 0},
      {"delete below", kDeleteMode, "1 l 2 3", X(1), 440, 1, "1 l 2 3 -", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Editor ed;
    ed.state.score = ScoreOf(c.before);
    ed.state.editMode = c.mode;
    if (c.answer >= 0) ed.counts.columns = {c.answer};
    ed.prompter.answers = {c.answer == kYes ? PromptAnswer::Yes : PromptAnswer::No};
    ed.Click(c.x, c.y);
    const Cols want = C(c.after);
    EXPECT_EQ(Head(ed.state.score, want.size()), want);
    EXPECT_EQ(ed.counts.opened, c.dialog ? std::vector<int>{c.dialog} : std::vector<int>{});
    EXPECT_EQ(ed.state.editMode, kEditMode);
    EXPECT_EQ(ed.state.score.modified, c.dialog != 0 || c.answer < 0);
    EXPECT_EQ(ed.prompter.asked, c.answer < 0
                                     ? std::vector<std::string>{"削除モード: ループを削除します"}
                                     : std::vector<std::string>{});
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

TEST(ScoreEditor, LoopStartBelowTheGridCancelledOrWithoutRoom) {
  Editor ed;
  ed.state.editMode = kLoopStartMode;
  ed.Click(X(0), 440);  // below the last row: no dialog
  EXPECT_TRUE(ed.counts.opened.empty());
  ed.Click(X(0), Y(0));  // dialog cancelled
  EXPECT_EQ(ed.state.editMode, kEditMode);
  EXPECT_EQ(ed.state.score.cells[0], kEmpty);
  EXPECT_FALSE(ed.state.score.modified);

  Editor full;
  full.state.score.cells.fill(3);
  full.state.editMode = kLoopStartMode;
  full.counts.loops = {1};
  full.Click(X(0), Y(0));
  EXPECT_EQ(full.prompter.asked,
            std::vector<std::string>{
                "制限事項: スコアの最後の列まで使われているため、ループを入れられません。"});
  EXPECT_EQ(full.state.score.cells[0], 3);  // nothing pushed off the end
}

// The hovered row or key lights up its key on the keyboard; nothing moves during a playback.
TEST(ScoreEditor, HoverKeyAndScrolling) {
  const std::array<int, 6> moves[] = {
      // x, y, playMode, hoverKey before, after, redraw
      {100, 19, kNoPlayback, 0, 1, 1},  {100, 20, kNoPlayback, 1, 1, 0},
      {60, 415, kNoPlayback, 0, 23, 1}, {20, 400, kNoPlayback, 0, 22, 1},
      {700, 100, kNoPlayback, 5, 0, 1}, {100, 19, kWholeTune, 0, 0, 0},
  };
  for (const auto& [x, y, playMode, before, after, redraw] : moves) {
    MelodyState state;
    state.hoverKey = before;
    state.playback.playMode = playMode;
    EXPECT_EQ(MoveInScore(state, x, y), redraw != 0) << x << "," << y;
    EXPECT_EQ(state.hoverKey, after) << x << "," << y;
  }
  // The view never shows columns past the last one, whatever the bar sends.
  using enum ScrollStep;
  EXPECT_EQ(ScrollAfter(0, kLineLeft), 0);
  EXPECT_EQ(ScrollAfter(490, kLineRight), 490);
  EXPECT_EQ(ScrollAfter(15, kPageLeft), 0);
  EXPECT_EQ(ScrollAfter(480, kPageRight), 490);
  EXPECT_EQ(ScrollAfter(0, kThumb, 900), 490);
  EXPECT_EQ(ScrollAfter(0, kThumb, -4), 0);
}

}  // namespace
}  // namespace pendra2::melody::testing
