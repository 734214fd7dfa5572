#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "launcher/launcher_texts.h"
#include "launcher_fixture.h"

namespace pendra2::launcher {
namespace {

using test::FakeCall;

QString StatusText(LauncherWindow& window) {
  return window.findChild<QLabel*>(QStringLiteral("2006"))->text();
}

const QString kFound = QString::fromUtf8(kBoardFoundText);
const QString kNotFound = QString::fromUtf8(kNoBoardText);

TEST_F(LauncherFixture, StatusSaysTextUntilTheFirstTickThenTellsWhetherABoardIsThere) {
  window().show();
  EXPECT_EQ(StatusText(window()), QStringLiteral("text"));
  EXPECT_EQ(window().pollCount(), 0);
  ASSERT_TRUE(WaitForPolls(1));
  EXPECT_EQ(StatusText(window()), kNotFound);

  PlugBoard();
  const int seen = window().pollCount();
  ASSERT_TRUE(WaitForPolls(seen + 1));
  EXPECT_EQ(StatusText(window()), kFound);
  // The poll only looks: nothing is sent and no channel stays open between ticks.
  EXPECT_EQ(transport.CountCalls(FakeCall::Write), 0);
  EXPECT_EQ(transport.openHandles(), 0);

  transport.Unplug("/dev/hidraw0");
  const int before = window().pollCount();
  ASSERT_TRUE(WaitForPolls(before + 1));
  EXPECT_EQ(StatusText(window()), kNotFound);
}

TEST_F(LauncherFixture, StatusShowsTheFoundTextOnTheFirstTickWithABoard) {
  PlugBoard();
  window().show();
  EXPECT_EQ(StatusText(window()), QStringLiteral("text"));
  ASSERT_TRUE(WaitForPolls(1));
  EXPECT_EQ(StatusText(window()), kFound);
}

TEST_F(LauncherFixture, EveryMessageToTheWindowPostponesThePoll) {
  window().show();
  QWidget* canvas = window().centralWidget();
  // The pointer moving over the window without pause, every 20 ms for 400 ms.
  for (int i = 0; i < 20; ++i) {
    QMouseEvent move(QEvent::MouseMove, QPointF(100 + i, 300),
                     canvas->mapToGlobal(QPointF(100 + i, 300)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    QTest::qWait(20);
  }
  EXPECT_EQ(window().pollCount(), 0);
  EXPECT_TRUE(WaitForPolls(1));
}

TEST_F(LauncherFixture, StepcraftWithoutABoardStartsAtOnceWithoutSendingAnything) {
  window().show();
  window().RunCommand(kCommandStepcraft);
  EXPECT_EQ(starter.started, QStringList{QStringLiteral("Stepcraft")});
  EXPECT_EQ(transport.CountCalls(FakeCall::Write), 0);
  EXPECT_TRUE(prompter.asked.empty());
  EXPECT_EQ(window().state(), LauncherWindow::State::Closing);
  EXPECT_FALSE(window().isVisible());
  EXPECT_FALSE(window().pollScheduled());
}

TEST_F(LauncherFixture, AGenerationFourBoardIsRefusedAndTheLauncherStays) {
  PlugBoard("V4.00.00");
  window().show();
  window().RunCommand(kCommandStepcraft);

  EXPECT_TRUE(starter.started.isEmpty());
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].text, QString::fromUtf8(kWrongGenerationText));
  EXPECT_EQ(prompter.asked[0].caption, QStringLiteral("Version not much"));
  EXPECT_EQ(prompter.asked[0].buttons, ui::PromptButtons::Ok);
  const auto writes = transport.Writes();
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0][1], 'C');
  EXPECT_EQ(writes[0][2], 0);
  EXPECT_EQ(transport.openHandles(), 2);  // the refused board's channels stay open

  EXPECT_TRUE(window().isVisible());
  EXPECT_EQ(window().state(), LauncherWindow::State::Idle);
  EXPECT_TRUE(window().pollScheduled());
  const int seen = window().pollCount();
  EXPECT_TRUE(WaitForPolls(seen + 1));
}

TEST_F(LauncherFixture, AGenerationThreeBoardIsReleasedBeforeStepcraftStarts) {
  PlugBoard("V3.00.00");
  window().show();
  int handlesAtStart = -1;
  starter.onStart = [&](const QString&) { handlesAtStart = transport.openHandles(); };
  window().RunCommand(kCommandStepcraft);

  EXPECT_EQ(starter.started, QStringList{QStringLiteral("Stepcraft")});
  EXPECT_EQ(handlesAtStart, 0);
  EXPECT_EQ(transport.CountCalls(FakeCall::Write), 1);
  EXPECT_TRUE(prompter.asked.empty());
  EXPECT_FALSE(window().isVisible());
}

TEST_F(LauncherFixture, ChimecraftStartsWithoutAnyCheckWhateverBoardIsThere) {
  PlugBoard("V4.00.00");
  window().show();
  window().RunCommand(kCommandChimecraft);
  EXPECT_EQ(starter.started, QStringList{QStringLiteral("Chimecraft")});
  EXPECT_EQ(transport.CountCalls(FakeCall::Write), 0);
  EXPECT_TRUE(prompter.asked.empty());
  EXPECT_FALSE(window().isVisible());
}

TEST_F(LauncherFixture, ThePollDoesNotRunWhileTheCheckIsUnderWay) {
  PlugBoard("V4.00.00");
  window().show();
  ASSERT_TRUE(WaitForPolls(1));
  int pollsDuringBox = -1;
  bool scheduledDuringBox = true;
  prompter.whileOpen = [&](const ui::Prompt&) {
    const int before = window().pollCount();
    // Events keep reaching the window meanwhile; none of them may restart the poll.
    window().update();
    QTest::qWait(300);
    pollsDuringBox = window().pollCount() - before;
    scheduledDuringBox = window().pollScheduled();
  };
  window().RunCommand(kCommandStepcraft);
  EXPECT_EQ(pollsDuringBox, 0);
  EXPECT_FALSE(scheduledDuringBox);
  EXPECT_TRUE(window().pollScheduled());
}

TEST_F(LauncherFixture, AnEditorThatCannotStartIsReportedAndTheLauncherStays) {
  starter.canStart = false;
  window().show();
  window().RunCommand(kCommandChimecraft);
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_TRUE(
      prompter.asked[0].text.startsWith(QStringLiteral("Chimecraftを起動できませんでした。")));
  EXPECT_TRUE(window().isVisible());
  EXPECT_EQ(window().state(), LauncherWindow::State::Idle);
  EXPECT_TRUE(WaitForPolls(1));

  PlugBoard("V3.00.00");
  window().RunCommand(kCommandStepcraft);
  ASSERT_EQ(prompter.asked.size(), 2u);
  EXPECT_TRUE(
      prompter.asked[1].text.startsWith(QStringLiteral("Stepcraftを起動できませんでした。")));
  EXPECT_EQ(transport.openHandles(), 0);
  EXPECT_TRUE(window().isVisible());
  EXPECT_TRUE(window().pollScheduled());
}

TEST_F(LauncherFixture, AnUnavailableInterfaceListEndsTheProgramWithStatusZero) {
  window().show();
  ASSERT_TRUE(WaitForPolls(1));
  transport.listUnavailable = true;
  ASSERT_TRUE(QTest::qWaitFor([&] { return window().endStatus().has_value(); }, 2000));
  EXPECT_EQ(*window().endStatus(), 0);
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].text, QStringLiteral("Invalid handle"));
  EXPECT_EQ(prompter.asked[0].caption, QStringLiteral("HID"));
  EXPECT_FALSE(window().isVisible());
  EXPECT_FALSE(window().pollScheduled());
}

TEST_F(LauncherFixture, AnUnavailableInterfaceListDuringTheCheckEndsTooWithoutStarting) {
  transport.listUnavailable = true;
  window().show();
  window().RunCommand(kCommandStepcraft);
  EXPECT_TRUE(starter.started.isEmpty());
  EXPECT_EQ(window().endStatus(), 0);
  EXPECT_FALSE(window().isVisible());
}

TEST_F(LauncherFixture, TheButtonsCarryOutTheirCommands) {
  PlugBoard("V4.00.00");
  window().show();
  QTest::mouseClick(window().findChild<QPushButton*>(QStringLiteral("2004")), Qt::LeftButton);
  EXPECT_EQ(prompter.asked.size(), 1u);  // the check ran and refused the board
  QTest::mouseClick(window().findChild<QPushButton*>(QStringLiteral("2002")), Qt::LeftButton);
  EXPECT_EQ(starter.started, QStringList{QStringLiteral("Chimecraft")});
}

TEST_F(LauncherFixture, TheExitCommandClosesTheWindowAndStopsThePoll) {
  window().show();
  window().RunCommand(kCommandNothing);
  EXPECT_TRUE(window().isVisible());
  window().RunCommand(kCommandExit);
  EXPECT_FALSE(window().isVisible());
  EXPECT_FALSE(window().pollScheduled());
  EXPECT_TRUE(starter.started.isEmpty());
}

}  // namespace
}  // namespace pendra2::launcher
