// Undo and redo of every edit, what counts as changed afterwards, and cut, copy and paste of
// columns through the editor core.

#include <gtest/gtest.h>

#include <functional>

#include "helpers.h"
#include "melody/column_clip.h"
#include "melody/edit_commands.h"
#include "melody/score_editor.h"
#include "melody/score_files.h"
#include "melody/score_geometry.h"
#include "melody/tune_file.h"
#include "scripted.h"

namespace pendra2::melody::testing {
namespace {

struct FakeClipboard : ColumnClipboard {
  std::optional<Bytes> bytes;
  std::string text;
  void Put(std::span<const uint8_t> columns, std::string_view t) override {
    bytes = Bytes(columns.begin(), columns.end());
    text = t;
  }
  bool HoldsColumns() const override { return bytes.has_value(); }
  std::optional<Bytes> Columns() const override { return bytes; }
};

// C1 D1 E1, a loop repeated twice around F1 G1, A1 B1.
const Cols kTune = C("0 2 4 l 2 5 7 L 0 0 5 9 11");

struct Editor {
  explicit Editor(const Cols& tune = kTune) {
    LoadTuneBytes(state.score, state.header, TuneFile(tune));
    state.history.Reset(state.score);
  }
  ReleaseEffect Click(int x, int y) { return ReleaseInScore(state, x, y, true, prompter, counts); }
  void Select(int first, int last) {
    SelectColumns(state.selection, state.score.cells, first, last);
  }
  // The file a save would write now, the score itself left as it is.
  Bytes Saved() {
    Score score = state.score;
    TuneHeader header = state.header;
    EXPECT_TRUE(SaveTune(score, header, (dir / "t.olg").string()).ok());
    return ReadBytes(dir / "t.olg");
  }
  std::string Told(const interaction::Outcome& outcome) {
    return outcome.ok() ? "" : Said(outcome.message());
  }

  TempDir dir;
  MelodyState state;
  ScriptedPrompter prompter;
  ScriptedCounts counts;
  FakeClipboard clipboard;
};

using Operation = std::function<void(Editor&)>;

TEST(Undo, EveryEditIsOneStepThatSavesAsBeforeAndAfter) {
  struct Case {
    const char* name;
    Operation op;
    std::optional<ScoreEdit> step;  // nothing: no step at all
  };
  const auto mode = [](int m, Operation then) {
    return [m, then](Editor& e) {
      e.state.editMode = m;
      then(e);
    };
  };
  const Case cases[] = {
      {"note put", [](Editor& e) { e.Click(X(13), Y(12)); }, ScoreEdit::kNote},
      {"note removed", [](Editor& e) { e.Click(X(0), Y(0)); }, ScoreEdit::kNote},
      {"columns inserted",
       mode(kInsertMode,
            [](Editor& e) {
              e.counts.columns = {2};
              e.Click(X(1), Y(3));
            }),
       ScoreEdit::kInsertColumns},
      {"columns deleted",
       mode(kDeleteMode,
            [](Editor& e) {
              e.counts.columns = {1};
              e.Click(X(1), Y(3));
            }),
       ScoreEdit::kDeleteColumns},
      {"loop placed with both its clicks",
       mode(kLoopStartMode,
            [](Editor& e) {
              e.counts.loops = {1};
              e.Click(X(0), Y(3));
              e.Click(X(4), Y(3));
            }),
       ScoreEdit::kLoopEnd},
      {"loop count",
       [](Editor& e) {
         e.counts.loops = {5};
         e.Click(X(3), Y(3));
       },
       ScoreEdit::kLoopCount},
      {"loop removed",
       mode(kDeleteMode,
            [](Editor& e) {
              e.prompter.answers = {interaction::PromptAnswer::Yes};
              e.Click(X(7), Y(3));
            }),
       ScoreEdit::kLoopRemoved},
      {"tempo", [](Editor& e) { ChangeTempo(e.state, 7); }, ScoreEdit::kTempo},
      {"cut",
       [](Editor& e) {
         e.Select(0, 1);
         EXPECT_TRUE(CutColumns(e.state, e.clipboard).ok());
       },
       ScoreEdit::kCut},
      {"paste",
       [](Editor& e) {
         e.Select(3, 11);
         EXPECT_TRUE(CopyColumns(e.state, e.clipboard).ok());
         e.state.selection.Clear();
         EXPECT_TRUE(PasteColumns(e.state, e.clipboard).ok());
       },
       ScoreEdit::kPaste},
      // What changes no byte is no step.
      {"insert cancelled", mode(kInsertMode, [](Editor& e) { e.Click(X(1), Y(3)); }), {}},
      {"same loop count",
       [](Editor& e) {
         e.counts.loops = {2};
         e.Click(X(3), Y(3));
       },
       {}},
      {"loop parameter clicked", [](Editor& e) { e.Click(X(9), Y(3)); }, {}},
      {"same tempo", [](Editor& e) { ChangeTempo(e.state, 2); }, {}},
      {"copy",
       [](Editor& e) {
         e.Select(0, 12);
         EXPECT_TRUE(CopyColumns(e.state, e.clipboard).ok());
       },
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Editor e;
    const Bytes before = e.Saved();
    c.op(e);
    const Bytes after = e.Saved();
    EXPECT_EQ(e.state.history.UndoEdit(), c.step);
    if (!c.step) {
      EXPECT_EQ(after, before);
      EXPECT_FALSE(UndoEdit(e.state));
      continue;
    }
    EXPECT_NE(after, before);
    ASSERT_TRUE(UndoEdit(e.state));
    EXPECT_EQ(e.Saved(), before);
    EXPECT_FALSE(e.state.score.modified || MayUndo(e.state));
    EXPECT_EQ(e.state.history.RedoEdit(), c.step);
    ASSERT_TRUE(RedoEdit(e.state));
    EXPECT_EQ(e.Saved(), after);
    EXPECT_TRUE(e.state.score.modified);
    EXPECT_FALSE(MayRedo(e.state));
  }
}

// Changed means "not what was last saved or loaded", whichever way undo and redo went.
TEST(Undo, ChangedExactlyWhenTheBytesAreNotTheSavedOnes) {
  Editor e;
  ScriptedFiles files;
  ScoreDocument doc{e.state, e.prompter, files};
  e.Click(X(13), Y(1));
  files.paths = {(e.dir / "saved.olg").string()};
  ASSERT_TRUE(SaveScoreAs(doc));
  e.Click(X(14), Y(2));
  const std::pair<bool (*)(MelodyState&), bool> moves[] = {
      {UndoEdit, false}, {UndoEdit, true}, {RedoEdit, false}, {RedoEdit, true}};
  for (const auto& [move, modified] : moves) {
    ASSERT_TRUE(move(e.state));
    EXPECT_EQ(e.state.score.modified, modified);
  }
  UndoEdit(e.state);
  e.Click(X(0), Y(0));  // a new edit drops what could have been redone
  EXPECT_FALSE(MayRedo(e.state));
  EXPECT_TRUE(e.state.score.modified);

  // Many steps back, all the way to the tune as loaded; a load forgets them.
  Editor many(Cols{});
  const Cells loaded = many.state.score.cells;
  for (int i = 0; i < 150; ++i) many.Click(X(i % 21), Y(i % 23));
  int undone = 0;
  while (UndoEdit(many.state)) ++undone;
  EXPECT_EQ(undone, 150);
  EXPECT_EQ(many.state.score.cells, loaded);
  EXPECT_FALSE(many.state.score.modified);
  WriteBytes(many.dir / "b.olg", TuneFile(kTune));
  ScoreDocument other{many.state, many.prompter, files};
  ASSERT_TRUE(OpenTuneFile(other, (many.dir / "b.olg").string(), OpenedTitle::kFileName).opened);
  EXPECT_FALSE(MayRedo(many.state) || MayUndo(many.state));
}

// Copied columns go in before the selection, or after the tune; the pasted loops and the
// loops moved on play as they did where they came from.
TEST(Columns, CutAndPasteKeepEveryLoopPlayingRight) {
  struct Case {
    const char* name;
    const char* tune;
    int first, last;  // copied (or cut)
    int at;           // pasted before this column; -1: nothing selected; -2: cut instead
    const char* after;
    const char* played;
  };
  const Case cases[] = {
      {"loop pasted after the tune", "0 l 1 2 L 0 0 3 4", 1, 7, -1,
       "0 l 1 2 L 0 0 3 4 l 1 2 L 0 0 11 24", "0 2 2 4 2 2 24 23"},
      {"a later loop moves on", "0 l 1 2 L 0 0 3 4", 0, 0, 1, "0 0 l 1 2 L 0 0 4 4",
       "0 0 2 2 4 24 23"},
      {"pasted into a loop, one level deeper", "l 1 2 3 L 0 0 2 l 2 5 L 0 0 10", 8, 14, 3,
       "l 1 2 l 2 5 L 1 0 5 3 L 0 0 2 l 2 5 L 0 0 17", "2 5 5 5 3 2 5 5 5 3 5 5 5 24 23"},
      {"cut before a loop", "0 1 l 1 2 L 0 0 4 5", 0, 1, -2, "l 1 2 L 0 0 2 5 24 -", "2 2 5 24 23"},
      {"cut of a whole loop", "0 l 1 2 L 0 0 3 4", 1, 7, -2, "0 4 24 -", "0 4 24 23"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Editor e(C(c.tune));
    e.Select(c.first, c.last);
    const interaction::Outcome done =
        c.at == -2 ? CutColumns(e.state, e.clipboard) : CopyColumns(e.state, e.clipboard);
    ASSERT_TRUE(done.ok());
    if (c.at != -2) {
      e.state.selection.Clear();
      if (c.at >= 0) e.Select(c.at, c.at);
      ASSERT_TRUE(PasteColumns(e.state, e.clipboard).ok());
      const int at = c.at >= 0 ? c.at : TuneEnd(ScoreOf(c.tune).cells);
      EXPECT_EQ(std::pair(e.state.selection.first, e.state.selection.last),
                std::pair(at, at + c.last - c.first));
    }
    EXPECT_EQ(Head(e.state.score, C(c.after).size()), C(c.after));
    EXPECT_EQ(PlayWhole(e.state.score), C(c.played));
  }
}

// Nothing changes, on the score or the clipboard, when the answer is no.
TEST(Columns, HalfLoopsNoRoomAndForeignBytesAreRefused) {
  constexpr const char* kHalf = "くり返しの始めと終わりを両方えらんでください。";
  struct Case {
    const char* name;
    int first, last;
    bool cut;
    std::string message;
  };
  const Case cases[] = {
      {"a start without its end", 0, 4, false, std::string("コピー: ") + kHalf},
      {"an end without its start", 5, 12, true, std::string("切り取り: ") + kHalf},
      {"inside the loop's body", 5, 6, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Editor e;
    e.Select(c.first, c.last);
    EXPECT_EQ(e.Told(c.cut ? CutColumns(e.state, e.clipboard) : CopyColumns(e.state, e.clipboard)),
              c.message);
    EXPECT_EQ(e.clipboard.HoldsColumns(), c.message.empty());
    EXPECT_EQ(Head(e.state.score, kTune.size()), kTune);
  }

  Editor full(Cols(507, 3));
  full.Select(0, 4);
  ASSERT_TRUE(CopyColumns(full.state, full.clipboard).ok());
  EXPECT_EQ(full.clipboard.text, "D1s D1s D1s D1s D1s\n");
  EXPECT_EQ(full.Told(PasteColumns(full.state, full.clipboard)),
            "制限事項: 5列は入りきらないため、貼り付けられません。\nスコアにはあと4列まで入りま"
            "す。");
  EXPECT_EQ(full.state.history.UndoEdit(), std::nullopt);

  const Bytes good = EncodeClip(ClipOf(ScoreOf("0 l 1 2 L 0 0 3 23 -").cells, 0, 9));
  const auto with = [&](std::size_t at, uint8_t b) {
    Bytes bytes = good;
    bytes[at] = b;
    return bytes;
  };
  const std::pair<Bytes, const char*> clips[] = {
      {good, ""},
      {with(4, 2),
       "貼り付け: クリップボードの列は新しい版のチャイムクラフトのものなので、"
       "貼り付けられません。"},
      {with(8 + 4, 'E'), "貼り付け: クリップボードの列はこわれているため、貼り付けられません。"},
      {Bytes(good.begin(), good.end() - 1),
       "貼り付け: クリップボードの列はこわれているため、"
       "貼り付けられません。"},
      {with(8 + 4, 7), "貼り付け: クリップボードの列はこわれているため、貼り付けられません。"},
  };
  for (const auto& [bytes, message] : clips) {
    Editor e;
    e.clipboard.bytes = bytes;
    EXPECT_EQ(e.Told(PasteColumns(e.state, e.clipboard)), message);
    EXPECT_EQ(e.state.history.CanUndo(), *message == '\0');
  }
  EXPECT_EQ(ClipText(DecodeClip(good).clip), "C1 [1 D1 ] rest -\n");
}

// A drag along the numbers selects whole marks; any other click clears the selection.
TEST(Columns, SelectionAlongTheNumbers) {
  Editor e;
  EXPECT_TRUE(PressInScore(e.state, X(4), kNumberStripTop + 5));  // a loop's count
  EXPECT_EQ(std::pair(e.state.selection.first, e.state.selection.last), std::pair(3, 4));
  DragInScore(e.state, X(8));  // into the loop end's depth
  e.Click(X(8), kNumberStripTop + 30);
  EXPECT_EQ(std::pair(e.state.selection.first, e.state.selection.last), std::pair(3, 10));
  e.Click(X(0), Y(5));
  EXPECT_TRUE(e.state.selection.empty());
  EXPECT_FALSE(PressInScore(e.state, X(4), kNumberStripBottom));
  ASSERT_TRUE(SelectAllColumns(e.state));
  EXPECT_EQ(std::pair(e.state.selection.first, e.state.selection.last), std::pair(0, 12));
  // Past the grid's right end the view follows the drag.
  Editor far;
  PressInScore(far.state, X(0), kNumberStripTop);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(DragInScore(far.state, 700).scrollMoved);
  EXPECT_EQ(std::pair(far.state.scrollPos, far.state.selection.last), std::pair(3, 23));
}

}  // namespace
}  // namespace pendra2::melody::testing
