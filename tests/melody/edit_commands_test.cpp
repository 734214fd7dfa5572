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

using enum ScoreEdit;

struct FakeClipboard : ColumnClipboard {
  std::optional<Bytes> bytes;
  void Put(std::span<const uint8_t> columns, std::string_view) override {
    bytes = Bytes(columns.begin(), columns.end());
  }
  bool HoldsColumns() const override { return bytes.has_value(); }
  std::optional<Bytes> Columns() const override { return bytes; }
};

std::string Told(const interaction::Outcome& outcome) {
  return outcome.ok() ? "" : Said(outcome.message());
}

// C1 D1 E1, a loop repeated twice around F1 G1, A1 B1.
const Cols kTune = C("0 2 4 l 2 5 7 L 0 0 5 9 11");

struct Editor {
  explicit Editor(const Cols& tune = kTune) {
    LoadTuneBytes(state.score, state.header, TuneFile(tune));
    state.history.Reset(state.score);
  }
  ReleaseEffect Click(int x, int y) { return ReleaseInScore(state, x, y, true, prompter, counts); }
  // Cut or copy of columns first..last: what the user was told.
  std::string Take(int first, int last, bool cut) {
    SelectColumns(state.selection, state.score.cells, first, last);
    return Told(cut ? CutColumns(state, clipboard) : CopyColumns(state, clipboard));
  }
  // Copies first..last and pastes before column `at`, or after the tune for -1.
  std::string CopyAndPaste(int first, int last, int at = -1) {
    Take(first, last, false);
    state.selection.Clear();
    if (at >= 0) SelectColumns(state.selection, state.score.cells, at, at);
    return Told(PasteColumns(state, clipboard));
  }
  // The file a save would write now, the score itself left as it is.
  Bytes Saved() {
    Score score = state.score;
    TuneHeader header = state.header;
    EXPECT_TRUE(SaveTune(score, header, (dir / "t.olg").string()).ok());
    return ReadBytes(dir / "t.olg");
  }

  TempDir dir;
  MelodyState state;
  ScriptedPrompter prompter;
  ScriptedCounts counts;
  FakeClipboard clipboard;
};

TEST(Undo, EveryEditIsOneStepThatSavesAsBeforeAndAfter) {
  struct Case {
    const char* name;
    int mode;
    std::vector<int> clicks;        // columns clicked, in the row of C1
    int answer;                     // to the count dialogs; the loop question is answered yes
    std::optional<ScoreEdit> step;  // nothing: no step at all
    std::function<void(Editor&)> otherwise = {};  // instead of the clicks
  };
  const Case cases[] = {
      {"note put", kEditMode, {13}, 0, kNote},
      {"columns inserted", kInsertMode, {1}, 2, kInsertColumns},
      {"columns deleted", kDeleteMode, {1}, 1, kDeleteColumns},
      {"loop placed, both its clicks", kLoopStartMode, {0, 4}, 1, kLoopEnd},
      {"loop count", kEditMode, {3}, 5, kLoopCount},
      {"loop removed", kDeleteMode, {7}, 0, kLoopRemoved},
      {"tempo", 0, {}, 0, kTempo, [](Editor& e) { ChangeTempo(e.state, 7); }},
      {"cut", 0, {}, 0, kCut, [](Editor& e) { e.Take(0, 1, true); }},
      {"paste", 0, {}, 0, kPaste, [](Editor& e) { e.CopyAndPaste(3, 11); }},
      // What changes no byte is no step.
      {"insert cancelled", kInsertMode, {1}, 0, {}},
      {"same loop count", kEditMode, {3}, 2, {}},
      {"copy", 0, {}, 0, {}, [](Editor& e) { e.Take(0, 12, false); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Editor e;
    const Bytes before = e.Saved();
    e.state.editMode = c.mode;
    e.counts.columns = {c.answer};
    e.counts.loops = {c.answer};
    e.prompter.answers = {interaction::PromptAnswer::Yes};
    for (const int column : c.clicks) e.Click(X(column), Y(0));
    if (c.otherwise) c.otherwise(e);
    const Bytes after = e.Saved();
    EXPECT_EQ(std::tuple(e.state.history.UndoEdit(), after != before),
              std::tuple(c.step, c.step.has_value()));
    EXPECT_EQ(UndoEdit(e.state), c.step.has_value());
    if (!c.step) continue;
    EXPECT_EQ(std::tuple(e.Saved() == before, e.state.score.modified, e.state.history.RedoEdit()),
              std::tuple(true, false, c.step));
    ASSERT_TRUE(RedoEdit(e.state));
    EXPECT_EQ(std::tuple(e.Saved() == after, e.state.score.modified), std::tuple(true, true));
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
  // Undo back to the save, past it, redo to it and past it again.
  for (const auto& [move, modified] : {std::pair(&UndoEdit, false), std::pair(&UndoEdit, true),
                                       std::pair(&RedoEdit, false), std::pair(&RedoEdit, true)}) {
    ASSERT_TRUE(move(e.state));
    EXPECT_EQ(e.state.score.modified, modified);
  }

  // 150 steps back to the tune as loaded; opening a file forgets them.
  Editor many(Cols{});
  const Cells loaded = many.state.score.cells;
  for (int i = 0; i < 150; ++i) many.Click(X(i % 21), Y(i % 23));
  int undone = 0;
  while (UndoEdit(many.state)) ++undone;
  EXPECT_EQ(std::tuple(undone, many.state.score.cells == loaded), std::tuple(150, true));
  ScoreDocument other{many.state, many.prompter, files};
  ASSERT_TRUE(OpenTuneFile(other, (e.dir / "saved.olg").string(), OpenedTitle::kFileName).opened);
  EXPECT_FALSE(MayRedo(many.state) || MayUndo(many.state));
}

// Copied columns go in before the selection, or after the tune; the pasted loops and the
// loops moved on play as they did where they came from.
TEST(Columns, CutAndPasteKeepEveryLoopPlayingRight) {
  struct Case {
    const char* tune;
    int first, last;  // copied (or cut)
    int at;           // pasted before this column; -1: nothing selected; -2: cut instead
    const char* after;
    const char* played;
  };
  const Case cases[] = {
      {"0 l 1 2 L 0 0 3 4", 1, 7, -1, "0 l 1 2 L 0 0 3 4 l 1 2 L 0 0 11 24", "0 2 2 4 2 2 24 23"},
      // Into a loop's body: one level deeper.
      {"l 1 2 3 L 0 0 2 l 2 5 L 0 0 10", 8, 14, 3, "l 1 2 l 2 5 L 1 0 5 3 L 0 0 2 l 2 5 L 0 0 17",
       "2 5 5 5 3 2 5 5 5 3 5 5 5 24 23"},
      // The end mark copied goes as an empty column.
      {"0 1", 1, 3, -1, "0 1 1 - - 24", "0 1 1 24 23"},
      {"0 1 l 1 2 L 0 0 4 5", 0, 1, -2, "l 1 2 L 0 0 2 5 24 -", "2 2 5 24 23"},
      {"0 l 1 2 L 0 0 3 4", 1, 7, -2, "0 4 24 -", "0 4 24 23"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tune);
    Editor e(C(c.tune));
    if (c.at == -2) {
      ASSERT_EQ(e.Take(c.first, c.last, true), "");
    } else {
      ASSERT_EQ(e.CopyAndPaste(c.first, c.last, c.at), "");
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
  const std::string half = "くり返しの始めと終わりを両方えらんでください。";
  Editor e;
  EXPECT_EQ(e.Take(0, 4, false), "コピー: " + half);    // a start without its end
  EXPECT_EQ(e.Take(5, 12, true), "切り取り: " + half);  // an end without its start
  EXPECT_FALSE(e.clipboard.HoldsColumns());
  EXPECT_EQ(Head(e.state.score, kTune.size()), kTune);

  Editor full(Cols(507, 3));
  EXPECT_EQ(full.CopyAndPaste(0, 4, 0),
            "制限事項: 5列は入りきらないため、貼り付けられません。\n"
            "スコアにはあと4列まで入ります。");
  EXPECT_FALSE(MayUndo(full.state));

  const Bytes good = EncodeClip(ClipOf(ScoreOf("0 l 1 2 L 0 0 3 23 -").cells, 0, 9));
  EXPECT_EQ(ClipText(DecodeClip(good).clip), "C1 [1 D1 ] rest -\n");
  // A later version, a code that is none, a loop start left open.
  for (const auto& [at, b] : {std::pair(4, 2), std::pair(12, int{'E'}), std::pair(12, 7)}) {
    Bytes bytes = good;
    bytes[static_cast<std::size_t>(at)] = static_cast<uint8_t>(b);
    Editor other;
    other.clipboard.bytes = bytes;
    EXPECT_EQ(Told(PasteColumns(other.state, other.clipboard)),
              Said(at == 4 ? kClipNewerMessage : kClipDamagedMessage));
  }
}

// A drag along the numbers selects whole marks, the view following past the grid's end; any
// other click clears the selection.
TEST(Columns, SelectionAlongTheNumbers) {
  Editor e;
  const auto selected = [&] { return std::pair(e.state.selection.first, e.state.selection.last); };
  EXPECT_TRUE(PressInScore(e.state, X(4), kNumberStripTop + 5));  // a loop's count
  EXPECT_EQ(selected(), std::pair(3, 4));
  DragInScore(e.state, X(8));  // into the loop end's depth
  e.Click(X(8), kNumberStripTop + 30);
  EXPECT_EQ(selected(), std::pair(3, 10));
  e.Click(X(0), Y(5));
  EXPECT_TRUE(e.state.selection.empty());
  PressInScore(e.state, X(0), kNumberStripTop);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(DragInScore(e.state, 700).scrollMoved);
  EXPECT_EQ(std::pair(e.state.scrollPos, e.state.selection.last), std::pair(3, 23));
}

}  // namespace
}  // namespace pendra2::melody::testing
