// Stepcraft's main window on an in-process fake board: the board buttons as discovery finds
// the board, the transfer's guards and failures, the board commands, the tools, exit and
// close with the launcher's start, and the window layout.

#include "flowchart_ui/stepcraft_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "flowchart/transfer.h"
#include "flowchart_ui/connection_panel.h"
#include "flowchart_ui/flowchart_window.h"
#include "flowchart_ui/simulation.h"
#include "flowchart_ui/stepcraft_fakes.h"
#include "flowchart_ui/stepcraft_texts.h"
#include "flowchart_ui/symbol_toolbar.h"
#include "stepcraft_app/scripted_user.h"
#include "support/fake_transport.h"
#include "ui_common/board_chooser.h"
#include "ui_common/board_messages.h"

namespace pendra2::flowchart_ui {
namespace {

using interaction::PromptAnswer;

struct Starter final : ui::ProgramStarter {
  bool StartProgram(const QString& name) override {
    started.push_back(name);
    return false;  // a launcher that cannot be found must not keep the editor open
  }
  QStringList started;
};

struct Printing final : ui::PrintChooser {
  bool Choose(QPrinter&, QWidget*) override { return false; }
};

// A Stepcraft main window with everything around it scripted.
struct Editor {
  test::FakeTransport transport;
  ui::BoardWorker board{transport, 30};
  std::unique_ptr<flowchart::StepcraftState> state = std::make_unique<flowchart::StepcraftState>();
  pendra2::testing::ScriptedPrompter prompter;
  pendra2::testing::ScriptedFiles files;
  testing::RecordingDialogs dialogs;
  Printing printing;
  Starter starter;
  std::unique_ptr<StepcraftWindow> window;

  explicit Editor(const char* boardVersion = nullptr) {
    if (boardVersion) Plug(boardVersion);
    board.AskAndWait([](device::Board& b) { return b.FindBoard(); });
    window = std::make_unique<StepcraftWindow>(
        *state, StepcraftServices{board, prompter, files, dialogs, printing, starter, {}, {}});
    board.SetRefreshAsksAutoMode(true);
    window->panel()->RefreshBoardButtons();
    window->show();
    // Repaints reach only a window that is on the screen.
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    Settle();
  }
  // What was asked of the board has been done and told.
  void Settle() { board.WaitIdle(); }
  void Repaint() {
    window->flowchartWindow()->repaint();
    Settle();
  }
  void Command(int id) {
    window->RunCommand(id);
    Settle();
  }
  std::shared_ptr<virtual_board::BoardModel> Plug(const char* version = "V3.00.00") {
    virtual_board::BoardIdentity identity;
    identity.version = version;
    model =
        transport.AddBoard("/dev/hidraw3", device::kPendraVendor, device::kPendraProduct, identity);
    return model;
  }
  bool Shown(int command) const { return !window->panel()->button(command)->isHidden(); }
  std::vector<bool> BoardButtons() const {
    return {Shown(kCommandTransfer), Shown(kCommandRun), Shown(kCommandStop), Shown(kCommandAutoOn),
            Shown(kCommandAutoOff)};
  }
  // The command letters of the reports written since the last ClearCalls.
  std::string Letters() const {
    std::string letters;
    for (const device::Report& r : transport.Writes()) letters += static_cast<char>(r[1]);
    return letters;
  }
  std::shared_ptr<virtual_board::BoardModel> model;
};

TEST(StepcraftBoardButtons, FollowEachDiscovery) {
  const std::vector<bool> none{false, false, false, false, false};
  const std::vector<bool> autoOff{true, true, true, true, false};
  const std::vector<bool> autoOn{true, true, true, false, true};

  Editor e;
  EXPECT_EQ(e.BoardButtons(), none);

  e.Plug();
  e.Repaint();  // every repaint looks for the board
  EXPECT_EQ(e.BoardButtons(), autoOff);

  e.Command(kCommandAutoOn);
  EXPECT_EQ(e.BoardButtons(), autoOn);
  e.Repaint();  // the board keeps the mode: still on
  EXPECT_EQ(e.BoardButtons(), autoOn);

  e.transport.Unplug("/dev/hidraw3");
  e.Repaint();
  EXPECT_EQ(e.BoardButtons(), none);

  e.Plug();
  e.Command(kCommandReconnect);
  EXPECT_EQ(e.BoardButtons(), autoOff);
  e.Command(kCommandAutoOff);
  EXPECT_EQ(e.BoardButtons(), autoOff);
}

// The guards and their messages are the core's and the replays'; here the image as the board
// receives it.
TEST(StepcraftTransfer, ImageReachesTheBoard) {
  Editor e("V3.00.00");
  e.transport.ClearCalls();
  e.Command(kCommandTransfer);
  EXPECT_FALSE(e.state->transferBusy);
  EXPECT_EQ(e.window->panel()->lastTransfer(), flowchart::TransferStep::kSent);
  EXPECT_EQ(e.Letters().substr(0, 2), "CS");  // then the eight blocks, answered
  EXPECT_EQ(e.transport.Writes().size(), 10u);
  EXPECT_TRUE(e.prompter.shown.empty());
  EXPECT_EQ(e.model->imagesWritten(), 1);
  EXPECT_EQ(e.model->image(), e.state->program.image);
}

TEST(StepcraftBoardCommands, SentOnlyToAFoundIdleBoard) {
  Editor none;
  none.transport.ClearCalls();
  for (int id : {kCommandTransfer, kCommandRun, kCommandStop}) none.Command(id);
  EXPECT_EQ(none.Letters(), "");

  Editor e("V3.00.00");
  e.transport.ClearCalls();
  e.window->RunCommand(kCommandRun);
  e.window->RunCommand(kCommandStop);
  e.state->transferBusy = true;  // a command arriving while an image is on its way
  e.window->RunCommand(kCommandRun);
  e.window->RunCommand(kCommandTransfer);
  e.state->transferBusy = false;
  e.Settle();
  EXPECT_EQ(e.Letters(), "RE");
  EXPECT_TRUE(e.prompter.shown.empty());

  // Pressed after the board has gone: says so, and the buttons go.
  e.transport.Unplug("/dev/hidraw3");
  e.Command(kCommandRun);
  EXPECT_EQ(e.prompter.Texts(),
            std::vector<std::string>{std::string(ui::kBoardUnreachableMessage.text)});
  EXPECT_EQ(e.BoardButtons(), std::vector<bool>(5, false));
}

// Three boards on the desk: the list shows which one the buttons act on, the one chosen
// alone takes the transfer, its going hides the buttons, and the transfer into every board
// writes each one attached that can take the program.
TEST(StepcraftBoards, TheChosenBoardTakesTheButtonsAndEveryBoardTakesTheProgramAtOnce) {
  Editor e("V3.00.00");
  ui::BoardChooser& chooser = *e.window->panel()->chooser();
  EXPECT_TRUE(chooser.isHidden());  // one board: nothing to choose
  const auto second = e.transport.AddBoard("/dev/hidraw4");
  virtual_board::BoardIdentity older;
  older.version = "V2.00.00";
  const auto third =
      e.transport.AddBoard("/dev/hidraw5", device::kPendraVendor, device::kPendraProduct, older);
  e.Repaint();
  ASSERT_FALSE(chooser.isHidden());
  ASSERT_EQ(chooser.count(), 3);
  EXPECT_EQ(chooser.currentText(), "1: /dev/hidraw3");  // the board the buttons act on

  chooser.Choose(1);
  e.Settle();
  EXPECT_EQ(chooser.currentText(), "2: /dev/hidraw4");
  e.Command(kCommandTransfer);
  EXPECT_EQ(second->imagesWritten(), 1);
  EXPECT_EQ(e.model->imagesWritten(), 0);

  // The chosen board goes: no buttons, though others are there, and the list says so.
  e.transport.Unplug("/dev/hidraw4");
  e.Repaint();
  EXPECT_EQ(e.BoardButtons(), std::vector<bool>(5, false));
  EXPECT_EQ(chooser.currentText().toStdString(),
            std::string("/dev/hidraw4") + ui::kBoardMissingText);
  e.Command(kCommandTransfer);
  EXPECT_EQ(e.model->imagesWritten(), 0);

  // Every board attached now: the first takes it, the older one is refused.
  e.Command(kCommandTransferAll);
  EXPECT_FALSE(e.state->transferBusy);
  EXPECT_EQ(e.model->imagesWritten(), 1);
  EXPECT_EQ(e.model->image(), e.state->program.image);
  EXPECT_EQ(third->imagesWritten(), 0);
  ASSERT_EQ(e.prompter.shown.size(), 1u);
  const std::string said = e.prompter.shown[0].text;
  EXPECT_EQ(said.substr(0, said.find('\n')), "2台のうち1台のマイコンに転送しました。");
  EXPECT_NE(said.find("/dev/hidraw5: 古いバージョンのため中止"), std::string::npos) << said;

  // Chosen again, it acts alone once more.
  chooser.Choose(0);
  e.Settle();
  EXPECT_EQ(e.BoardButtons()[0], true);
}

TEST(StepcraftToolbar, EachButtonPicksItsToolAndShowsIt) {
  Editor e;
  for (const ToolButtonPlace& place : kToolButtons) {
    SCOPED_TRACE(place.art);
    QToolButton* button = e.window->toolbar()->button(place.command);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(QRect(QPoint(0, 0), kToolbarRect.size()).contains(button->geometry()));
    button->click();
    EXPECT_EQ(e.state->editMode, place.mode);
    e.window->toolbar()->repaint();
    for (const ToolButtonPlace& other : kToolButtons) {
      EXPECT_EQ(e.window->toolbar()->button(other.command)->isChecked(), other.mode == place.mode);
    }
  }
}

TEST(StepcraftExit, AskFirstThenCloseTheBoardAndStartTheLauncher) {
  struct Row {
    const char* name;
    bool modified;
    bool byMenu;  // exit (105) or the window's close box
    std::vector<PromptAnswer> answers;
    bool ends;
  } rows[] = {
      {"clean close", false, false, {}, true},
      {"changed, No", true, true, {PromptAnswer::No}, true},
      {"changed, Cancel", true, true, {PromptAnswer::Cancel}, false},
      {"close box, Cancel", true, false, {PromptAnswer::Cancel}, false},
      {"changed, Yes, save dialog cancelled", true, false, {PromptAnswer::Yes}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Editor e("V3.00.00");
    e.state->program.modified = row.modified;
    e.prompter.answers = {row.answers.begin(), row.answers.end()};
    if (row.byMenu) {
      e.window->RunCommand(kCommandExit);
    } else {
      e.window->close();
    }
    e.Settle();
    EXPECT_EQ(e.window->ended(), row.ends);
    EXPECT_EQ(e.window->isVisible(), !row.ends);
    EXPECT_EQ(e.prompter.shown.size(), row.modified ? 1u : 0u);
    EXPECT_EQ(e.starter.started, row.ends ? QStringList{"Pendra2"} : QStringList{});
    EXPECT_EQ(e.transport.openHandles(), row.ends ? 0 : 2);
  }
}

TEST(StepcraftLayout, ChildWindowsAtTheirPlacesWithTheirClientSizes) {
  Editor e;
  auto* area = qobject_cast<QMdiArea*>(e.window->centralWidget());
  ASSERT_NE(area, nullptr);
  const QList<QMdiSubWindow*> subs = area->subWindowList(QMdiArea::CreationOrder);
  ASSERT_EQ(subs.size(), 4);
  EXPECT_EQ(e.window->panel()->size(), kPanelRect.size());
  EXPECT_EQ(e.window->toolbar()->size(), kToolbarRect.size());
  EXPECT_GE(e.window->flowchartWindow()->width(), kFlowchartRect.width());
  EXPECT_EQ(e.window->flowchartWindow()->height(), kFlowchartRect.height());
  EXPECT_EQ(subs[1]->pos(), kFlowchartRect.topLeft());
  for (QMdiSubWindow* sub : subs) {
    EXPECT_TRUE(area->viewport()->rect().contains(sub->geometry()))
        << sub->windowTitle().toStdString();
    for (QMdiSubWindow* other : subs) {
      if (other != sub) {
        EXPECT_FALSE(sub->geometry().intersects(other->geometry()));
      }
    }
  }

  QAction* about = e.window->action(kCommandAbout);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::ALT | Qt::Key_Question),
                                                     QKeySequence(Qt::ALT | Qt::Key_Slash)}));
}

TEST(StepcraftKeys, ShortcutsReachTheirCommands) {
  Editor e;
  QApplication::setActiveWindow(e.window.get());
  e.state->program.modified = true;
  for (const Qt::Key key : {Qt::Key_N, Qt::Key_O}) {  // new and open ask first
    e.prompter.shown.clear();
    QTest::keyClick(e.window.get(), key, Qt::ControlModifier);
    EXPECT_EQ(e.prompter.Texts(),
              std::vector<std::string>{std::string(flowchart::kSaveChangesText)});
  }
  e.files.shown.clear();
  QTest::keyClick(e.window.get(), Qt::Key_S, Qt::ControlModifier);  // untitled: save as
  ASSERT_EQ(e.files.shown.size(), 1u);
  EXPECT_EQ(e.files.shown[0].title, flowchart::kSaveDialogTitle);
}

TEST(StepcraftDocuments, NewAndOpenReachTheWindows) {
  Editor e;
  e.state->program.count = 5;
  e.state->topStep = 3;
  e.state->program.modified = true;
  e.prompter.answers = {PromptAnswer::No};
  e.window->RunCommand(kCommandNew);
  EXPECT_EQ(e.state->program.count, 2);
  EXPECT_EQ(e.window->flowchartWindow()->scrollBar()->maximum(), 1);
  e.window->flowchartWindow()->repaint();
  EXPECT_EQ(e.window->flowchartSubWindow()->windowTitle(),
            QString::fromUtf8(flowchart::kUntitledTitle));
}

// Blink with a breakpoint on its LED OFF (step 4), at the board's pace: the run pauses with
// that step lit and named, F10 runs it and lights the wait after it, a deletion stops the
// run before it acts, and a new program has no marks.
TEST(StepcraftSimulation, PausesAtTheMarkedStepStepsWithF10AndStopsForAnEdit) {
  Editor e;
  e.window->OpenAtStart(qgetenv("PENDRA2_SOURCE_DIR").toStdString() + "/docs/samples/blink.flc");
  e.state->breakpoints.set(4);
  Simulation& sim = e.window->simulation();
  e.Command(kCommandSimRun);
  ASSERT_TRUE(QTest::qWaitFor([&] { return sim.phase() == board_sim::RunState::Paused; }, 5000));
  EXPECT_EQ(e.state->runningStep, 4);
  EXPECT_EQ(sim.StatusText(), "一時停止中：4行目のブレークポイント");
  EXPECT_TRUE(sim.board().outputs().led);

  QApplication::setActiveWindow(e.window.get());
  QTest::keyClick(e.window.get(), Qt::Key_F10);
  EXPECT_EQ(e.state->runningStep, 5);
  EXPECT_FALSE(sim.board().outputs().led);

  e.prompter.answers = {PromptAnswer::Ok};
  e.Command(2014);
  QTest::mouseClick(e.window->flowchartWindow(), Qt::LeftButton, {}, QPoint(100, 64 + 2 * 48));
  EXPECT_EQ(sim.phase(), board_sim::RunState::Stopped);
  EXPECT_EQ(e.state->program.count, 7);
  EXPECT_EQ(e.state->runningStep, -1);

  e.prompter.answers = {PromptAnswer::No};
  e.Command(kCommandNew);
  EXPECT_TRUE(e.state->breakpoints.none());
}

// The edit menu names what it would undo or redo and is disabled when it cannot act; Ctrl+Z
// and Ctrl+Y reach it.
TEST(StepcraftEditMenu, NamesTheOperationAndFollowsTheHistory) {
  Editor e;
  QAction* undo = e.window->action(kCommandUndo);
  QAction* redo = e.window->action(kCommandRedo);
  ASSERT_TRUE(undo && redo);
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(e.window->action(kCommandCopy)->isEnabled());
  e.prompter.answers = {PromptAnswer::Ok};
  e.Command(2017);
  QTest::mouseClick(e.window->flowchartWindow(), Qt::LeftButton, {}, QPoint(100, 64));
  ASSERT_EQ(e.state->program.count, 3);
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_EQ(undo->text(), "元に戻す: 「待機」の挿入");
  QApplication::setActiveWindow(e.window.get());
  QTest::keyClick(e.window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(e.state->program.count, 2);
  EXPECT_FALSE(e.state->program.modified);
  EXPECT_EQ(undo->text(), "元に戻す");
  EXPECT_EQ(redo->text(), "やり直し: 「待機」の挿入");
  QTest::keyClick(e.window.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(e.state->program.count, 3);
  EXPECT_TRUE(e.state->program.modified);
  e.Command(kCommandSelectAll);
  EXPECT_TRUE(e.window->action(kCommandCopy)->isEnabled());
}

}  // namespace
}  // namespace pendra2::flowchart_ui
