// The flowchart window as a widget: real mouse events, the scroll bar, the view box and
// the tool cursors, on a fresh state with scripted boxes and dialogs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "flowchart/view_test_support.h"
#include "flowchart_ui/flowchart_window.h"
#include "stepcraft_fakes.h"

namespace pendra2::flowchart_ui {
namespace {

using flowchart::EditMode;
using namespace testing;
using namespace flowchart::view::testing;

// Real mouse events at client point `at`, delivered to the window itself.
void Send(QWidget& window, QEvent::Type type, QPoint at) {
  QMouseEvent event(type, QPointF(at), window.mapToGlobal(QPointF(at)),
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&window, &event);
}
void Move(QWidget& window, QPoint at) {
  Send(window, QEvent::MouseMove, at);
}
void Click(QWidget& window, QPoint at) {
  Send(window, QEvent::MouseButtonPress, at);
  Send(window, QEvent::MouseButtonRelease, at);
}

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() {
    state.program = *WaitProgram(30);
    window.show();
  }
  flowchart::StepcraftState state;
  ScriptedPrompter prompter;
  RecordingDialogs dialogs;
  FlowchartWindow window{state, prompter, dialogs};
};

TEST_F(WindowTest, ToolCommandsPickTheToolAndItsCursors) {
  using enum flowchart::EditCursor;
  struct Case {
    int command;
    EditMode mode;
    flowchart::EditCursor commandCursor;
    flowchart::EditCursor moveCursor;
  };
  const Case cases[] = {
      {2014, EditMode::kDelete, CURDEL, CURDEL},
      {2016, EditMode::kInsertOrgel, CURINS, CURINS},
      {2013, EditMode::kInsertLoop, CURLIN, CURLEND},
      {2020, EditMode::kInsertBranch, CURLIN, CURLIN},
  };
  const ToolCursors cursors;
  const auto shows = [&](flowchart::EditCursor c) {
    return window.cursor().pixmap().toImage() == cursors.Get(c).pixmap().toImage();
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    QSignalSpy repaints(&window, &FlowchartWindow::RepaintBoth);
    ASSERT_TRUE(window.Command(c.command));
    EXPECT_EQ(state.editMode, c.mode);
    EXPECT_EQ(repaints.count(), 1);
    EXPECT_TRUE(shows(c.commandCursor));
    Move(window, QPoint(500, 500));
    EXPECT_TRUE(shows(c.moveCursor));
    EXPECT_FALSE(window.cursor().pixmap().isNull());
  }
  EXPECT_TRUE(window.Command(214));
  EXPECT_FALSE(window.Command(32778));
  // A click ends the tool; the next move shows the window's own arrow.
  Click(window, QPoint(100, 100));
  Move(window, QPoint(101, 100));
  EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WindowTest, MovesAndClicksReachTheRowsTheHitTestNames) {
  const struct {
    QPoint at;
    int row;
  } moves[] = {{{100, 41}, 0},  {{100, 88}, 1}, {{399, 469}, 8}, {{400, 100}, -1},
               {{100, 40}, -1}, {{11, 300}, 5}, {{10, 300}, -1}};
  for (const auto& m : moves) {
    Move(window, m.at);
    EXPECT_EQ(state.hoverRow, m.row) << m.at.x() << "," << m.at.y();
  }

  using Opened = RecordingDialogs::Opened;
  Click(window, {100, 88});  // the second row: step 1, a wait
  Click(window, {11, 20});   // above the rows: the top row, Start, has no dialog
  Click(window, {10, 88});   // beside the rows
  Click(window, {400, 88});
  window.Scroll(QAbstractSlider::SliderMove, 5);
  Click(window, {399, 136});  // third row from step 5
  EXPECT_EQ(dialogs.opened, (std::vector<Opened>{{184, 1}, {184, 7}}));

  // A tool on a row: the prompt, the step after the clicked one, its dialog, the tool ends.
  dialogs.opened.clear();
  window.Scroll(QAbstractSlider::SliderMove, 0);
  window.Command(2018);
  Click(window, {400, 136});
  EXPECT_EQ(state.editMode, EditMode::kInsertOutput) << "a click beside the rows keeps the tool";
  QSignalSpy repaints(&window, &FlowchartWindow::RepaintBoth);
  Click(window, {200, 136});
  ASSERT_EQ(prompter.prompts.size(), 1u);
  EXPECT_EQ(prompter.prompts[0].text, "「出力」を挿入します");
  EXPECT_EQ(dialogs.opened, (std::vector<Opened>{{208, 3}}));
  EXPECT_EQ(state.program.count, 31);
  EXPECT_EQ(state.editMode, EditMode::kEdit);
  EXPECT_EQ(repaints.count(), 1);
  EXPECT_EQ(window.scrollBar()->maximum(), 30);
}

TEST_F(WindowTest, ScrollRequestsMoveTheTopStepWithinTheProgram) {
  using S = QAbstractSlider;
  const struct {
    S::SliderAction action;
    int position;
    int topStep;
  } steps[] = {
      {S::SliderSingleStepAdd, 0, 1},  {S::SliderPageStepAdd, 0, 11},
      {S::SliderPageStepAdd, 0, 21},   {S::SliderPageStepAdd, 0, 29},
      {S::SliderSingleStepAdd, 0, 29}, {S::SliderPageStepSub, 0, 19},
      {S::SliderMove, 500, 500},       {S::SliderSingleStepSub, 0, 499},
      {S::SliderMove, 3, 3},           {S::SliderPageStepSub, 0, 0},
  };
  for (const auto& s : steps) {
    window.Scroll(s.action, s.position);
    EXPECT_EQ(state.topStep, s.topStep) << s.action << " " << s.position;
  }
  EXPECT_EQ(window.scrollBar()->maximum(), 29);
  // The real scroll bar sends its own requests.
  window.scrollBar()->triggerAction(S::SliderPageStepAdd);
  EXPECT_EQ(state.topStep, 10);
  EXPECT_EQ(window.scrollBar()->value(), 10);
}

TEST_F(WindowTest, ViewBoxChoicesSetTheViewModeAndRepaintsShowTheTitle) {
  QComboBox& box = *window.viewBox();
  ASSERT_EQ(box.count(), 2);
  EXPECT_EQ(box.itemText(1), "フローチャートと日本語表示");
  EXPECT_EQ(box.currentIndex(), 1);
  box.setCurrentIndex(0);
  EXPECT_EQ(state.viewMode, 1) << "a selection the program makes runs no handling";
  emit box.activated(0);
  EXPECT_EQ(state.viewMode, 0);
  window.ShowViewMode(4);
  EXPECT_EQ(box.currentIndex(), -1);
  EXPECT_TRUE(window.Command(2004));
  EXPECT_EQ(state.viewMode, -1);

  // A repaint runs the hook first and shows the document's title.
  int hooks = 0;
  window.SetRepaintHook([&] { ++hooks; });
  QSignalSpy titles(&window, &FlowchartWindow::TitleChanged);
  state.documentTitle = "アクティビティ図編集 [prog.flc]";
  (void)window.grab();
  EXPECT_GE(hooks, 1);
  ASSERT_EQ(titles.count(), 1);
  EXPECT_EQ(titles[0][0].toString(), "アクティビティ図編集 [prog.flc]");
  EXPECT_EQ(window.windowTitle(), "アクティビティ図編集 [prog.flc]");
  (void)window.grab();
  EXPECT_EQ(titles.count(), 1) << "an unchanged title is not announced again";
}

// Pixels that differ by more than a smoothing's rounding: a band left behind, a row
// not drawn again.
int PixelsApart(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  int apart = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      apart += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q)) >
               12;
    }
  }
  return apart;
}

// The lit step moving along, within the view and out of it: the window shows what a whole
// repaint shows (the rows it left lose their band, the listing line too), and repainting
// the lit rows alone is no look at the board.
TEST_F(WindowTest, ALitStepMovedRepaintsWhatAWholeRepaintShows) {
  QScreen* screen = window.screen();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  int hooks = 0;
  window.SetRepaintHook([&] { ++hooks; });
  for (const int step : {3, 4, 9, 2, 0, 15, 16, -1, 28}) {
    SCOPED_TRACE(step);
    hooks = 0;
    state.runningStep = step;
    window.ShowRunningStep();
    QApplication::processEvents();
    // The rows, not the scroll bar, which moves on its own time.
    const QRect rows(0, 0, flowchart::kClientWidth, flowchart::kClientHeight);
    const QImage shown = screen->grabWindow(window.winId()).toImage().copy(rows);
    if (step == 4 || step == 2 || step == 16) {
      EXPECT_EQ(hooks, 0);
    }
    const QImage whole = window.grab().toImage().convertToFormat(shown.format()).copy(rows);
    EXPECT_EQ(PixelsApart(shown, whole), 0);
  }
}

}  // namespace
}  // namespace pendra2::flowchart_ui
