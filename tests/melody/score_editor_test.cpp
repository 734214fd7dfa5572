// Editing the score: the column edits, clicks, moves and scrolling in the score window
// through the editor core, and new score, save and load with the unsaved-changes question.

#include <gtest/gtest.h>

#include "helpers.h"
#include "melody/live_note.h"
#include "melody/score_editor.h"
#include "melody/score_edits.h"
#include "melody/score_files.h"
#include "scripted.h"

namespace pendra2::melody::testing {
namespace {

using interaction::PromptAnswer;
namespace fs = std::filesystem;

TEST(GridInput, GeometryAndCountFields) {
  const std::array<int, 3> columns[] = {{81, 0, 0},      {104, 0, 0}, {105, 3, 4},
                                        {604, 490, 510}, {80, 0, -1}, {605, 0, -1}};
  for (const auto& [x, scroll, column] : columns)
    EXPECT_EQ(GridColumn(x, scroll).value_or(-1), column) << x;
  EXPECT_EQ(GridRowCode(0), 23);
  EXPECT_EQ(GridRowCode(431), 0);
  EXPECT_EQ(GridRowCode(432), std::nullopt);

  const std::tuple<const char*, int, int> fields[] = {
      {"1", 256, 1},   {" 12 ", 256, 12}, {"999", 256, 256}, {"-3", 256, 256},       {"", 256, 0},
      {"abc", 256, 0}, {"4x", 255, 0},    {"300", 255, 255}, {"99999999999", 255, 0}};
  for (const auto& [text, max, count] : fields) EXPECT_EQ(CountFromField(text, max), count) << text;
}

TEST(GridInput, ClicksOnMarksAndTheirParameters) {
  Score score = ScoreOf("1 l 3 2 L 0 0 3 4");
  using enum GridClick;
  const GridClick kinds[] = {kNote,          kLoopCount,     kParameterCell, kNote, kLoopJump,
                             kParameterCell, kParameterCell, kParameterCell, kNote};
  for (int n = 0; n < 9; ++n) EXPECT_EQ(ClassifyGridClick(score.cells, n), kinds[n]) << n;
  SetLoopCount(score, 1, 300);
  EXPECT_EQ(score.cells[2], 255);
}

TEST(ColumnEdits, InsertDeleteAndRemoveLoopKeepLoopTargetsRight) {
  constexpr const char* kTwo = "1 1 1 l 1 2 2 L 0 0 5 3 3 3 3 3 3 3 l 1 4 4 L 0 0 20 6";
  // outer: A [ inner: [ innermost: B ] C ] D, then E
  constexpr const char* kNested = "l 1 0 l 1 l 1 1 L 2 0 7 2 L 1 0 5 3 L 0 0 2 4";
  constexpr const char* kUnnested = "l 1 0 l 1 1 L 1 0 5 2 3 L 0 0 2 4 -";
  ASSERT_EQ(PlayWhole(ScoreOf(kNested)), C("0 1 1 2 1 1 2 3 0 1 1 2 1 1 2 3 4 24 23"));
  // before, operation (i k: insert k, d k: delete k, r: remove loop), column, k, after, played
  const std::tuple<const char*, char, int, int, const char*, const char*> edits[] = {
      // Inside a loop-end mark's columns the new columns go in before the mark.
      {kTwo, 'i', 10, 3, "1 1 1 l 1 2 2 - - - L 0 0 5 3 3 3 3 3 3 3 l 1 4 4 L 0 0 23 6", ""},
      {kTwo, 'i', 12, 3, "1 1 1 l 1 2 2 L 0 0 5 3 - - - 3 3 3 3 3 3 l 1 4 4 L 0 0 23 6", ""},
      // At the first body column the new column joins the body.
      {"l 1 2 L 0 0 2 4", 'i', 2, 1, "l 1 - 2 L 0 0 2 4", "23 2 23 2 4 24 23"},
      // A loop start met at the point is stepped over.
      {"1 5 l 2 7 8 L 0 0 4 9", 'd', 1, 2, "1 l 2 8 L 0 0 3 9 -", "1 8 8 8 9 24 23"},
      {kTwo, 'd', 12, 2, "1 1 1 l 1 2 2 L 0 0 5 3 3 3 3 3 l 1 4 4 L 0 0 18 6 -", ""},
      {"l 1 2 3 L 0 0 2 4", 'd', 2, 1, "l 1 3 L 0 0 2 4 -", "3 3 4 24 23"},
      {"l 1 2 L 0 0 2 4 5", 'd', 5, 1, "l 1 2 L 0 0 2 5 -", ""},
      // Loops after the removed one move back by six columns.
      {kTwo, 'r', 3, 0, "1 1 1 2 2 3 3 3 3 3 3 3 l 1 4 4 L 0 0 14 6 -", ""},
      {kNested, 'r', 3, 0, kUnnested, "0 1 1 2 3 0 1 1 2 3 4 24 23"},
      {kNested, 'r', 4, 0, kUnnested, ""},
      {kNested, 'r', 13, 0, kUnnested, ""},
      {kNested, 'r', 15, 0, kUnnested, ""},
      // An outer loop whose body starts at the removed mark keeps its target.
      {"l 1 l 1 5 L 1 0 4 L 0 0 2 6", 'r', 2, 0, "l 1 5 L 0 0 2 6 -", "5 5 6 24 23"},
      // A mark without its partner goes alone.
      {"1 l 2 3", 'r', 1, 0, "1 3 -", ""},
      {"1 L 0 0 1 3", 'r', 2, 0, "1 3 -", ""},
  };
  for (const auto& [before, op, column, k, after, played] : edits) {
    SCOPED_TRACE(::testing::Message() << op << " at " << column << " of " << before);
    Score score = ScoreOf(before);
    if (op == 'i') InsertColumns(score, column, k);
    if (op == 'd') DeleteColumns(score, column, k);
    if (op == 'r') {
      ASSERT_TRUE(IsLoopMarkColumn(score.cells, column));
      ASSERT_TRUE(RemoveLoop(score, column));
    }
    EXPECT_EQ(Head(score, C(after).size()), C(after));
    EXPECT_EQ(Cols(score.cells.begin() + 505, score.cells.end()), Cols(7, kEmpty));
    EXPECT_TRUE(score.modified);
    if (*played) {
      EXPECT_EQ(PlayWhole(score), C(played));
    }
  }
  Score plain = ScoreOf("1 2");
  EXPECT_FALSE(RemoveLoop(plain, 0));
  EXPECT_FALSE(plain.modified);
}

TEST(ColumnEdits, ColumnsPushedPastTheEndAreLostOutOfRangeEditsAreSafe) {
  Score score;
  score.cells[509] = 5;
  score.cells[510] = 6;
  score.cells[511] = 7;
  InsertColumns(score, 505, 256);
  EXPECT_EQ(Cols(score.cells.begin() + 510, score.cells.end()), Cols(2, kEmpty));
  InsertColumns(score, 0, 1);
  InsertColumns(score, 511, 1);  // outside the editable columns: ignored
  score = ScoreOf("l 1 2 L 0 0 2 4");
  DeleteColumns(score, 0, 300);
  EXPECT_EQ(score.cells[0], 'l');
}

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
// the answer; one beside the grid asks nothing and changes nothing.
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
      {"delete 2", kDeleteMode, "1 2 3 4", X(1), Y(3), 2, "1 4 - -", 184},
      {"loop removed", kDeleteMode, "1 l 2 3 L 0 0 3 4", X(1), Y(3), kYes, "1 3 4 - - - - - -", 0},
      {"loop kept", kDeleteMode, "1 l 2 3 L 0 0 3 4", X(5), Y(3), kNo, "1 l 2 3 L 0 0 3 4", 0},
      {"insert beside", kInsertMode, "1", 40, Y(3), 3, "1 -", 0},
      {"delete beside", kDeleteMode, "1", 700, Y(3), 3, "1 -", 0},
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

// The count first, then the end: it closes the innermost open loop before the click, and a
// loop put around it makes it one level deeper.
TEST(ScoreEditor, LoopsWrittenByHandPlayTheirBodies) {
  Editor ed;
  ed.state.score = ScoreOf("0 2 4 5");
  ed.state.editMode = kLoopStartMode;
  ed.counts.loops = {2, 1};
  ed.Click(X(1), Y(0));
  EXPECT_EQ(ed.state.editMode, kLoopEndMode);
  ed.Click(X(0), Y(0));  // before the open loop: nothing, the mode stays
  ed.Click(X(3), Y(0));  // right after the count: an empty body is refused too
  EXPECT_EQ(ed.state.editMode, kLoopEndMode);
  EXPECT_TRUE(ed.prompter.asked.empty());
  ed.Click(X(5), Y(0));  // before the 5
  EXPECT_EQ(ed.state.editMode, kEditMode);
  EXPECT_EQ(Head(ed.state.score, 11), C("0 l 2 2 4 L 0 0 3 5 -"));
  EXPECT_EQ(PlayWhole(ed.state.score), C("0 2 4 2 4 2 4 5 24 23"));

  ed.state.editMode = kLoopStartMode;
  ed.Click(X(0), Y(0));
  ed.Click(X(11), Y(0));  // before the 5 again
  EXPECT_EQ(Head(ed.state.score, 17), C("l 1 0 l 2 2 4 L 1 0 5 L 0 0 2 5 -"));
  EXPECT_EQ(PlayWhole(ed.state.score), C("0 2 4 2 4 2 4 0 2 4 2 4 2 4 5 24 23"));
}

// Below the last row of the grid no mode does anything, whatever the column holds: a loop
// start, its count, a loop end, its parameters, a note, an empty column after an open loop.
// Insert and delete still last for one release only.
TEST(ScoreEditor, ReleasesBelowTheLastRowDoNothingInAnyMode) {
  constexpr const char* kMarks = "l 2 5 L 0 0 2 7 l 1 4";
  for (const int mode : {kEditMode, kInsertMode, kDeleteMode, kLoopStartMode, kLoopEndMode}) {
    for (int column = 0; column <= 11; ++column) {
      for (const int y : {432, 446, 509}) {
        SCOPED_TRACE(::testing::Message()
                     << "mode " << mode << ", column " << column << ", y " << y);
        Editor ed;
        ed.state.score = ScoreOf(kMarks);
        ed.state.editMode = mode;
        const auto effect = ed.Click(X(column), y);
        EXPECT_EQ(Head(ed.state.score, 13), C("l 2 5 L 0 0 2 7 l 1 4 - -"));
        EXPECT_FALSE(ed.state.score.modified || effect.scrollMoved);
        EXPECT_EQ(std::tuple(ed.state.scrollPos, SentOf(effect).size()), std::tuple(0, 0U));
        EXPECT_TRUE(ed.prompter.asked.empty() && ed.counts.opened.empty());
        EXPECT_EQ(ed.state.editMode, mode == kInsertMode || mode == kDeleteMode ? kEditMode : mode);
      }
    }
  }
}

TEST(ScoreEditor, LoopStartCancelledOrWithoutRoom) {
  Editor ed;
  ed.state.editMode = kLoopStartMode;
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

struct Session {
  MelodyState state;
  ScriptedPrompter prompter;
  ScriptedFiles files;
  ScoreDocument doc{state, prompter, files};
};

TEST(ScoreFiles, PathsAndTitles) {
  EXPECT_EQ(CompleteTunePath("a/tune"), "a/tune.olg");
  EXPECT_EQ(CompleteTunePath("a.b/tune"), "a.b/tune");
  EXPECT_EQ(TitleForPath("/home/u/曲/春.olg"), "スコア編集 [春.olg]");
  EXPECT_EQ(TitleForPath("C:\\曲\\tune.olg"), "スコア編集 [tune.olg]");
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
    EXPECT_EQ(s.state.documentTitle, c.saved ? "スコア編集 [ok.olg]" : std::string(kNoTitle));
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
  ASSERT_TRUE(LoadScore(t.doc).opened);
  EXPECT_EQ(Head(t.state.score, 10), C("0 l 2 4 L 0 0 3 7 24"));
  EXPECT_EQ(t.state.score.tempoIndex, 9);
  EXPECT_EQ(t.state.scrollPos, 0);
  EXPECT_EQ(t.state.documentTitle, "スコア編集 [round.olg]");
  EXPECT_FALSE(t.state.score.modified);
  EXPECT_EQ(s.files.titles, std::vector<std::string>{"オルゴールファイル保存"});
  EXPECT_EQ(t.files.titles, std::vector<std::string>{"オルゴールファイル読込み"});

  t.state.score.cells[0] = 5;
  t.state.scrollPos = 30;
  t.files.paths = {(dir / "missing").string()};
  EXPECT_FALSE(LoadScore(t.doc).opened);
  EXPECT_EQ(t.prompter.asked, std::vector<std::string>{"Error Message: Load File Open Error"});
  EXPECT_EQ(std::tuple(int{t.state.score.cells[0]}, t.state.scrollPos), std::tuple(5, 30));
  EXPECT_EQ(t.state.documentTitle, "スコア編集 [round.olg]");
}

// What is no tune is refused, naming the file, before anything of the open score changes; a
// tune that ends after its header opens, the columns it does not reach empty, with a warning.
TEST(ScoreFiles, FilesThatAreNoTuneAndTunesCutShort) {
  const Bytes tune = TuneFile(Cols(509, 3), 5);
  const auto cut = [&](std::size_t n) { return Bytes(tune.begin(), tune.begin() + n); };
  Bytes ol{'O', 'L'}, program{'F', 'L', 'W', 0, 0, 0, 2, 0, '4', '.', '2', '5'};
  for (int i = 0; i < 400; ++i) ol.push_back(static_cast<uint8_t>(i * 167 + 13));
  program.resize(1000, 0);
  Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, '\r', 'I', 'H', 'D', 'R'};
  png.resize(300, 0x5A);
  TempDir dir;
  const auto load = [&](const Bytes& bytes) {
    auto s = std::make_unique<Session>();
    s->state.score = ScoreOf("5 6");
    SetTempoIndex(s->state.score, 9);
    s->state.score.modified = true;
    s->state.header[30] = 0x11;
    s->state.scrollPos = 40;
    WriteBytes(dir / "in.olg", bytes);
    s->files.paths = {(dir / "in.olg").string()};
    const TuneOpened opened = LoadScore(s->doc);
    return std::pair(std::move(s), opened);
  };
  const auto said = [](const interaction::MessageText& m) {
    return Said(interaction::NamingFile(m, "in.olg"));
  };
  for (const Bytes& bytes : {Bytes{}, cut(2), cut(63), Bytes(ol.begin(), ol.begin() + 63), png,
                             program, Bytes{'F', 'L'}}) {
    SCOPED_TRACE(bytes.size());
    const auto [s, opened] = load(bytes);
    EXPECT_FALSE(opened.opened);
    EXPECT_EQ(s->prompter.asked,
              std::vector{said(bytes.size() > 1 && bytes[0] == 'F' ? kProgramNotATuneMessage
                                                                   : kNotATuneMessage)});
    EXPECT_EQ(
        std::tuple(Head(s->state.score, 3), s->state.score.tempoIndex, s->state.score.modified,
                   s->state.header[30], s->state.scrollPos, s->state.documentTitle),
        std::tuple(C("5 6 -"), 9, true, 0x11, 40, std::string(kNoTitle)));
  }
  for (const Bytes& bytes : {cut(64), cut(66), cut(300), cut(575), ol, tune}) {
    SCOPED_TRACE(bytes.size());
    const auto [s, opened] = load(bytes);
    ASSERT_TRUE(opened.opened && s->prompter.asked.empty());  // the caller shows the warning
    EXPECT_EQ(opened.warning ? Said(*opened.warning) : "",
              bytes.size() < 576 ? said(kTuneCutShortMessage) : "");
    EXPECT_EQ(std::tuple(s->state.scrollPos, s->state.documentTitle, s->state.score.modified),
              std::tuple(0, "スコア編集 [in.olg]", false));
    if (bytes[2] != 'X') continue;
    for (std::size_t p = 0; p < 512; ++p)
      ASSERT_EQ(s->state.score.cells[p], p < 510 && 66 + p < bytes.size() ? bytes[66 + p] : kEmpty)
          << p;
  }
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
  s.state.documentTitle = "スコア編集 [a.olg]";
  NewScoreDocument(s.doc);
  EXPECT_EQ(s.state.score.cells, EmptyCells());
  EXPECT_EQ(std::pair(s.state.score.tempoIndex, int{s.state.score.tempoPair[1]}), std::pair(2, 80));
  EXPECT_EQ(std::tuple(s.state.playback.playState, s.state.playback.playMode),
            std::tuple(int{kIdle}, int{kNoPlayback}));
  EXPECT_FALSE(s.state.playback.loopPlay ||
               PlaybackTick(s.state.playback, s.state.score, 0, true).running);
  EXPECT_TRUE(MayRunOrStopBoard(true, s.state.playback));
  EXPECT_EQ(s.state.scrollPos, 30);
  EXPECT_EQ(s.state.documentTitle, kNoTitle);
}

}  // namespace
}  // namespace pendra2::melody::testing
