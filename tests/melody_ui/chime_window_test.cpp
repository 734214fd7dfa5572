// Chimecraft's main window on an in-process fake board: its windows and controls, board
// controls by discovery, part playback and stop, transfer messages and the end of the program.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "melody/exchange/import_texts.h"
#include "melody/helpers.h"
#include "melody/scripted.h"
#include "melody/smf_bytes.h"
#include "melody/transfer.h"
#include "melody_ui/chime_texts.h"
#include "melody_ui/chime_window.h"
#include "melody_ui/midi_import_dialog.h"
#include "melody_ui/score_canvas.h"
#include "support/fake_transport.h"
#include "ui_common/board_chooser.h"
#include "ui_common/music_box.h"

namespace pendra2::melody_ui {
namespace {

using namespace melody::testing;

struct Starter final : ui::ProgramStarter {
  QStringList started;
  bool StartProgram(const QString& name) override {
    started.push_back(name);
    return true;
  }
};

struct NoPrinter final : ui::PrintChooser {
  bool Choose(QPrinter&, QWidget*) override { return false; }
};

// The import dialog answered with its own proposal.
struct ProposedImports final : ImportChooser {
  std::optional<melody::exchange::ImportChoice> Choose(const melody::exchange::MidiSong& song,
                                                       std::string_view) override {
    return melody::exchange::ProposeImport(song);
  }
};

struct Chime {
  explicit Chime(bool plugged = true, bool replaying = false) {
    if (plugged) transport.AddBoard("board0");
    board = std::make_unique<ui::BoardWorker>(transport, 100);
    board->AskAndWait([](device::Board& b) { return b.FindBoard(); });
    QObject::connect(&sound, &ui::MusicBox::struck, [this](int note) { struck.push_back(note); });
    window = std::make_unique<ChimeWindow>(
        *state, ChimeServices{*board, prompter, files, counts, starter, printer, replaying, &sound,
                              &imports});
    window->show();
  }
  void Click(int x, int y) { QTest::mouseClick(window->scoreCanvas(), Qt::LeftButton, {}, {x, y}); }
  std::vector<int> PlayNotes() const {
    std::vector<int> notes;
    for (const auto& r : transport.Writes()) {
      if (r[1] == device::letter::kPlayNote) notes.push_back(r[2]);
    }
    return notes;
  }

  test::FakeTransport transport;
  std::unique_ptr<ui::BoardWorker> board;
  std::unique_ptr<melody::MelodyState> state = std::make_unique<melody::MelodyState>();
  ScriptedPrompter prompter;
  ScriptedFiles files;
  ScriptedCounts counts;
  Starter starter;
  NoPrinter printer;
  ui::MusicBox sound{true};
  std::vector<int> struck;  // what the PC's loudspeaker was asked to sound
  ProposedImports imports;
  std::unique_ptr<ChimeWindow> window;
};

TEST(ChimeWindow, WindowsAndControls) {
  Chime chime;
  ChimeWindow& w = *chime.window;
  EXPECT_EQ(w.scoreCanvas()->size(), QSize(750, 510));
  EXPECT_EQ(w.scoreWindow()->windowTitle(), QString::fromUtf8("スコア編集 [No Title]"));
  EXPECT_EQ(w.tempoList()->count(), 13);
  EXPECT_EQ(w.tempoList()->currentText(), QString::fromUtf8("1/3(0.33)秒"));
  EXPECT_EQ(w.scrollBar()->maximum(), 490);
  for (const int id : {kCmdTransfer, kCmdBoardRun, kCmdBoardStop, kCmdWholePlay, kCmdPartPlay,
                       kCmdStopPlay, kCmdDeleteMode, kCmdInsertMode}) {
    EXPECT_NE(w.findChild<QToolButton*>(QString::number(id)), nullptr) << id;
  }
  for (const int id : {kCmdNew, kCmdSave, kCmdLoad, kCmdPrint, kCmdExit, kCmdLoopPlay, kCmdAbout,
                       kCmdImportMidi, kCmdExportMidi, kCmdExportWav, kCmdPcAlso}) {
    EXPECT_NE(w.findChild<QAction*>(QString::number(id)), nullptr) << id;
  }
  w.findChild<QToolButton*>(QString::number(kCmdDeleteMode))->click();
  EXPECT_EQ(chime.state->editMode, melody::kDeleteMode);
  w.scoreWindow()->close();  // a child window stays as long as the program
  EXPECT_TRUE(w.scoreWindow()->isVisible());

  w.Command(kCmdLoopPlay);
  EXPECT_TRUE(w.loopPlayAction()->isChecked());
  w.Command(kCmdNew);
  EXPECT_FALSE(w.loopPlayAction()->isChecked());
  w.SelectTempo(5);  // another tempo is a change of the tune
  EXPECT_TRUE(chime.state->score.modified);
  EXPECT_EQ(w.tempoList()->currentIndex(), 5);
}

// On every platform: each child window whole, apart from the other and inside the main
// window's work area, its client size as given (the score window's frames and caption may
// push it down, never onto the panel).
TEST(ChimeLayout, ChildWindowsWholeApartAndInsideTheMainWindow) {
  Chime chime;
  ChimeWindow& w = *chime.window;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  const QRect panel = w.panelWindow()->geometry();
  const QRect score = w.scoreWindow()->geometry();
  EXPECT_FALSE(panel.intersects(score)) << panel.bottom() << " " << score.top();
  const QRect area = w.centralWidget()->rect();
  for (const QRect& child : {panel, score}) EXPECT_TRUE(area.contains(child));
  EXPECT_EQ(w.scoreCanvas()->size(), QSize(750, 510));
}

TEST(ChimeWindow, FileKeysReachTheirCommandsAndShowInTheMenu) {
  Chime chime;
  ChimeWindow& w = *chime.window;
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
  QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(chime.files.titles,
            (std::vector<std::string>{"オルゴールファイル読込み", "オルゴールファイル保存"}));
  for (const auto& [id, key] :
       {std::pair(kCmdNew, QKeySequence::New), std::pair(kCmdPrint, QKeySequence::Print)}) {
    EXPECT_EQ(w.findChild<QAction*>(QString::number(id))->shortcut(), QKeySequence(key)) << id;
  }
}

// The edit menu after the file menu; its keys act, its items name their steps and are
// enabled only when they can act; columns reach the system clipboard as both kinds.
TEST(ChimeWindow, EditMenuKeysAndItems) {
  Chime chime;
  ChimeWindow& w = *chime.window;
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  QStringList menus;
  for (const QAction* menu : w.menuBar()->actions()) menus << menu->text();
  EXPECT_EQ(menus, QString::fromUtf8("ファイル(&F) 編集(&E) コントロール ヘルプ(&H)").split(' '));
  // Each item as "+text" when enabled, "-text" when not, in menu order.
  const auto items = [&] {
    std::string all;
    for (int id = kCmdUndo; id <= kCmdSelectAll; ++id)
      all += (w.editAction(id)->isEnabled() ? " +" : " -") + w.editAction(id)->text().toStdString();
    return all;
  };
  QGuiApplication::clipboard()->clear();
  EXPECT_EQ(items(), " -元に戻す -やり直し -切り取り -コピー -貼り付け -すべて選択");
  chime.Click(X(0), Y(1));
  QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(std::tuple(int{chime.state->score.cells[0]}, chime.state->score.modified),
            std::tuple(int{melody::kEmpty}, false));
  EXPECT_EQ(items(), " -元に戻す +やり直し: 音符の入力 -切り取り -コピー -貼り付け -すべて選択");
  QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  EXPECT_TRUE(data->hasFormat(QStringLiteral("application/x-pendra2-tune-columns")));
  EXPECT_EQ(data->text(), QStringLiteral("C1s\n"));
  QTest::keyClick(&w, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Head(chime.state->score, 3), C("1 1 -"));
  EXPECT_EQ(items(), " +元に戻す: 貼り付け -やり直し +切り取り +コピー +貼り付け +すべて選択");
  EXPECT_EQ(w.editAction(kCmdRedo)->shortcuts(),
            (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
}

TEST(ChimeWindow, BoardControlsFollowDiscovery) {
  Chime without(false);
  EXPECT_FALSE(without.window->boardControlsShown());
  // The PC plays the tune without a board.
  EXPECT_FALSE(without.window->findChild<QToolButton*>(QString::number(kCmdWholePlay))->isHidden());
  EXPECT_FALSE(without.window->tempoList()->isHidden());
  Chime with(true);
  EXPECT_TRUE(with.window->boardControlsShown());
  with.transport.Unplug("board0");
  QTest::qWait(60);  // discovery runs on a repaint at most every 50 ms
  with.window->scoreCanvas()->repaint();
  with.board->WaitIdle();
  EXPECT_FALSE(with.window->boardControlsShown());
  // Pressed after the board has gone: says so.
  with.board->AskAndWait([](device::Board& b) { return b.FindBoard(); });
  with.transport.AddBoard("board0");
  with.window->Command(kCmdReconnect);
  with.board->WaitIdle();
  EXPECT_TRUE(with.window->boardControlsShown());
  with.transport.Unplug("board0");
  with.window->Command(kCmdBoardRun);
  with.board->WaitIdle();
  EXPECT_EQ(
      with.prompter.asked.back(),
      "Error Message: マイコンと通信できませんでした。\nマイコンとの接続を確かめてください。");
  EXPECT_FALSE(with.window->boardControlsShown());
}

TEST(ChimeWindow, PartPlaybackAndStop) {
  Chime chime;
  chime.window->SelectTempo(12);
  for (int i = 0; i < 30; ++i) chime.state->score.cells[static_cast<std::size_t>(i)] = 3;
  chime.window->Scroll(melody::ScrollStep::kThumb, 5);
  chime.transport.ClearCalls();
  chime.window->Command(kCmdPartPlay);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return chime.state->playback.playState == melody::kIdle; }, 20000));
  const auto notes = chime.PlayNotes();
  ASSERT_EQ(notes.size(), 22U);  // the 21 visible columns from 5 and the closing silence
  EXPECT_EQ(notes.back(), 23);

  chime.window->Command(kCmdLoopPlay);
  chime.transport.ClearCalls();
  chime.window->Command(kCmdWholePlay);
  ASSERT_TRUE(QTest::qWaitFor([&] { return chime.PlayNotes().size() > 30; }, 20000));
  chime.window->Command(kCmdStopPlay);
  chime.board->WaitIdle();
  EXPECT_EQ(chime.state->playback.playState, melody::kIdle);
  EXPECT_EQ(chime.PlayNotes().back(), 23);
}

TEST(ChimeWindow, TransferMessages) {
  Chime silent;
  silent.transport.silent = true;
  silent.Click(X(0), Y(1));
  silent.window->Command(kCmdTransfer);
  EXPECT_EQ(silent.prompter.asked.back(),
            "Error Message: データの転送に失敗しました。\nマイコンとの接続を確かめてください。");

  Chime fine;
  fine.Click(X(0), Y(1));
  fine.window->Command(kCmdTransfer);
  EXPECT_TRUE(fine.prompter.asked.empty());
  const auto writes = fine.transport.Writes();
  EXPECT_EQ(std::count_if(writes.begin(), writes.end(), [](const auto& r) { return r[1] == 'S'; }),
            1);
}

// Two boards: the panel's list names the one the buttons act on, and the one chosen alone
// takes the tune.
TEST(ChimeWindow, TheChosenBoardTakesTheTransfer) {
  Chime chime;
  chime.board->WaitIdle();  // the window's own first look is done
  const auto other = chime.transport.AddBoard("board1");
  chime.board->RequestRefresh();
  chime.board->WaitIdle();
  ui::BoardChooser& chooser = *chime.window->boardChooser();
  ASSERT_FALSE(chooser.isHidden());
  EXPECT_EQ(chooser.currentText(), "1: board0");
  chooser.Choose(1);
  chime.board->WaitIdle();
  chime.Click(X(0), Y(1));
  chime.window->Command(kCmdTransfer);
  chime.board->WaitIdle();
  EXPECT_TRUE(chime.prompter.asked.empty());
  EXPECT_EQ(other->imagesWritten(), 1);
  EXPECT_EQ(chooser.currentText(), "2: board1");
}

// Runs the whole tune and gives what the PC was asked to sound meanwhile.
std::vector<int> PlayedOnPc(Chime& chime) {
  chime.struck.clear();
  chime.window->Command(kCmdWholePlay);
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return chime.state->playback.playState == melody::kIdle; }, 20000));
  QCoreApplication::processEvents();  // the notes reach the PC on the window's thread
  return chime.struck;
}

TEST(ChimeWindow, ThePcSoundsWithoutABoardAndWithOneWhenAsked) {
  Chime without(false);
  without.window->SelectTempo(12);
  without.Click(X(0), Y(4));
  without.Click(X(2), Y(7));
  without.Click(70, 385);  // D1 of the keyboard picture
  EXPECT_EQ(without.struck, (std::vector<int>{4, 7, 2}));
  // The rest between the notes plucks nothing.
  EXPECT_EQ(PlayedOnPc(without), (std::vector<int>{4, 7}));
  EXPECT_TRUE(without.PlayNotes().empty());

  Chime with;
  with.window->SelectTempo(12);
  with.Click(X(0), Y(4));
  EXPECT_TRUE(with.struck.empty());
  EXPECT_TRUE(PlayedOnPc(with).empty());
  with.window->Command(kCmdPcAlso);
  EXPECT_TRUE(with.window->pcAlsoAction()->isChecked());
  with.transport.ClearCalls();
  EXPECT_EQ(PlayedOnPc(with), (std::vector<int>{4}));
  EXPECT_EQ(with.PlayNotes(), (std::vector<int>{4, 24, 23}));
}

TEST(ChimeWindow, MidiImportOpensUntitledAfterTheQuestionAndTellsWhatChanged) {
  using namespace melody::testing;
  const TempDir dir;
  // An octave under the score: a chord, a note too low even then, a note.
  WriteBytes(dir / "song.mid", Smf(0, 480,
                                   {TrackEvents()
                                        .On(0, 1, 60)
                                        .On(0, 1, 64)
                                        .Off(240, 1, 60)
                                        .Off(0, 1, 64)
                                        .On(0, 1, 40)
                                        .Off(240, 1, 40)
                                        .On(0, 1, 67)
                                        .Off(240, 1, 67)
                                        .End()}));
  WriteBytes(dir / "bad.mid", Bytes{'M', 'T', 'h', 'd', 0, 0});
  Chime chime(false);
  chime.Click(X(0), Y(1));
  // Cancel at the question: nothing more is asked, nothing changes.
  chime.prompter.answers = {interaction::PromptAnswer::Cancel};
  chime.window->Command(kCmdImportMidi);
  EXPECT_TRUE(chime.files.titles.empty());
  // A damaged file: said, and the tune stays.
  chime.prompter.answers = {interaction::PromptAnswer::No};
  chime.files.paths = {(dir / "bad.mid").string()};
  chime.window->Command(kCmdImportMidi);
  EXPECT_EQ(chime.prompter.asked.back(),
            Said(interaction::NamingFile(melody::exchange::kMidiDamagedMessage, "bad.mid")));
  EXPECT_EQ(chime.state->score.cells[0], 1);
  // The file as proposed: in view, untitled and changed, then what had to change.
  chime.prompter.answers = {interaction::PromptAnswer::No};
  chime.files.paths = {(dir / "song.mid").string()};
  chime.window->Scroll(melody::ScrollStep::kThumb, 40);
  chime.window->Command(kCmdImportMidi);
  EXPECT_EQ(chime.files.titles.back(), "MIDIファイル読込み");
  EXPECT_EQ(Head(chime.state->score, 4), C("4 4 7 24"));
  EXPECT_EQ(chime.state->scrollPos, 0);
  EXPECT_EQ(chime.window->title(), "スコア編集 [No Title]");
  EXPECT_TRUE(chime.state->score.modified);
  EXPECT_EQ(chime.window->tempoList()->currentIndex(), 3);
  EXPECT_EQ(chime.prompter.asked.back(),
            "MIDIファイル読込み: "
            "スコアの音域（C1〜A2#）に入らない音が 1 "
            "個あったので、オクターブを変えて入れました。\n"
            "同じ列に重なった音が 1 個あったので、いちばん高い音だけを入れました。");
}

// Closing with unsaved changes: Cancel keeps the program and its score; No ends it and
// starts the launcher; a replayed session never starts it.
TEST(ChimeWindow, CloseAsksAboutUnsavedWork) {
  struct Case {
    interaction::PromptAnswer answer;
    bool replaying;
    bool closed;
    bool launcher;
  };
  const Case cases[] = {{interaction::PromptAnswer::Cancel, false, false, false},
                        {interaction::PromptAnswer::No, false, true, true},
                        {interaction::PromptAnswer::Yes, false, false, false},  // dialog cancelled
                        {interaction::PromptAnswer::No, true, true, false}};
  for (const Case& c : cases) {
    Chime chime(true, c.replaying);
    chime.Click(X(0), Y(1));
    chime.prompter.answers = {c.answer};
    chime.window->Command(kCmdExit);
    EXPECT_EQ(!chime.window->isVisible(), c.closed);
    EXPECT_EQ(chime.starter.started.size(), c.launcher ? 1U : 0U);
    EXPECT_EQ(chime.state->score.cells[0], 1);
  }
}

}  // namespace
}  // namespace pendra2::melody_ui
