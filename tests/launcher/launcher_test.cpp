#include <gtest/gtest.h>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

#include "launcher/launcher_app.h"
#include "launcher/launcher_texts.h"
#include "support/fake_transport.h"
#include "ui_common/bitmaps.h"
#include "ui_common/qt_test_support.h"

namespace pendra2::launcher {
namespace {

using test::FakeCall;
const QString kFound =
    QStringLiteral("Pendra2が接続されました。\nそのまま取り外さずにご使用ください");
const QString kNotFound = QStringLiteral("Pendra2が接続されていません。\n操作はPCのみとなります。");

// A launcher window on an in-process fake board. It records each prompt and closes its box
// unanswered (`whileOpen` runs while the box is up), and records the editors it is asked to
// start, starting none.
struct Launcher final : interaction::Prompter, ui::ProgramStarter {
  explicit Launcher(const char* version = nullptr) {
    if (version) Plug(version);
  }
  void Plug(const char* version) {
    virtual_board::BoardIdentity identity;
    identity.version = version;
    transport.AddBoard("/dev/hidraw0", device::kPendraVendor, device::kPendraProduct, identity);
  }
  bool WaitForNextPoll() {
    const int seen = window.pollCount();
    return QTest::qWaitFor([&] { return window.pollCount() > seen && !window.pollInFlight(); },
                           2000);
  }
  QString Status() const { return window.findChild<QLabel*>(QStringLiteral("2006"))->text(); }
  interaction::PromptAnswer Ask(const interaction::Prompt& prompt) override {
    asked.push_back(prompt);
    if (whileOpen) whileOpen();
    return interaction::EscapeAnswer(prompt.buttons);
  }
  bool StartProgram(const QString& name) override {
    started.push_back(name);
    if (onStart) onStart();
    return canStart;
  }

  std::vector<interaction::Prompt> asked;
  std::function<void()> whileOpen;
  QStringList started;
  bool canStart = true;
  std::function<void()> onStart;
  test::FakeTransport transport;
  ui::BoardWorker board{transport, 50};
  LauncherWindow window{board, *this, *this};
};

TEST(RunLauncher, LooksForTheBoardBeforeAnyWindowThenRunsUntilAnEditorIsStarted) {
  {
    Launcher failing;
    failing.transport.listUnavailable = true;
    bool shown = false;
    EXPECT_EQ(RunLauncher(failing.board, failing, failing, [&](LauncherWindow&) { shown = true; }),
              0);
    EXPECT_FALSE(shown);
    EXPECT_EQ(failing.asked.size(), 1u);
  }
  Launcher l;
  int enumeratedBeforeWindow = -1;
  const int status = RunLauncher(l.board, l, l, [&](LauncherWindow& w) {
    // The first look was asked before the window, though nothing waited for it.
    l.board.WaitIdle();
    enumeratedBeforeWindow = l.transport.CountCalls(FakeCall::Enumerate);
    QTimer::singleShot(100, &w, [&w] { w.RunCommand(kCommandChimecraft); });
  });
  EXPECT_EQ(status, 0);
  EXPECT_GE(enumeratedBeforeWindow, 1);
  EXPECT_EQ(l.started, QStringList{QStringLiteral("Chimecraft")});
}

TEST(LauncherPoll, WaitsForAPauseInTheEventsThenFollowsTheBoardWithoutTouchingIt) {
  Launcher l;
  l.window.show();
  QWidget* canvas = l.window.centralWidget();
  QElapsedTimer sinceMove;
  for (int i = 0; i < 10; ++i) {  // a pointer moving without pause holds the poll back
    const int polls = l.window.pollCount();
    const QPointF at(100 + i, 300);
    QMouseEvent move(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    sinceMove.start();
    QTest::qWait(20);
    // A busy machine may stretch the wait; a poll is then fine, but never before the pause.
    EXPECT_TRUE(l.window.pollCount() == polls || sinceMove.elapsed() >= kPollPeriodMs * 9 / 10);
  }
  if (l.window.pollCount() == 0) {
    EXPECT_EQ(l.Status(), QStringLiteral("text"));
  }
  ASSERT_TRUE(l.WaitForNextPoll());
  EXPECT_EQ(l.Status(), kNotFound);
  l.Plug("V3.00.00");
  ASSERT_TRUE(l.WaitForNextPoll());
  EXPECT_EQ(l.Status(), kFound);
  EXPECT_EQ(l.transport.CountCalls(FakeCall::Write), 0);
  EXPECT_EQ(l.transport.openHandles(), 0);
  l.transport.Unplug("/dev/hidraw0");
  ASSERT_TRUE(l.WaitForNextPoll());
  EXPECT_EQ(l.Status(), kNotFound);

  l.transport.listUnavailable = true;
  ASSERT_TRUE(QTest::qWaitFor([&] { return l.window.endStatus().has_value(); }, 2000));
  EXPECT_EQ(*l.window.endStatus(), 0);
  EXPECT_EQ(l.asked.size(), 1u);
  EXPECT_FALSE(l.window.isVisible());
  EXPECT_FALSE(l.window.pollScheduled());
}

enum Fault { kNoFault, kSilentBoard, kNoList, kCannotStart };

TEST(LauncherStart, EachEditorStartsOrIsRefusedAsTheBoardAllows) {
  const char* const kRefused =
      "Version not much|現在接続されているPendraでは実行できません。\nPendra2を接続して実行して"
      "ください。";
  const int kStep = kCommandStepcraft, kChime = kCommandChimecraft;
  const struct {
    const char* version;  // the board plugged in; nullptr: none
    Fault fault;
    int command;
    const char* started;  // the editor handed to the starter; nullptr: none
    int handles;          // channels open as the editor starts, or after a refusal
    bool infoQuery;       // the one report sent, else none
    bool stays;
    const char* message;  // caption|text of the one OK box shown; nullptr: none
  } cases[] = {
      {nullptr, kNoFault, kStep, "Stepcraft", 0, false, false, nullptr},
      {"V4.00.00", kNoFault, kChime, "Chimecraft", 0, false, false, nullptr},
      {"V3.00.00", kNoFault, kStep, "Stepcraft", 0, true, false, nullptr},
      {"V4.00.00", kNoFault, kStep, nullptr, 2, true, true, kRefused},
      {"V2.10.00", kNoFault, kStep, nullptr, 2, true, true, kRefused},
      {"3V.00.00", kNoFault, kStep, nullptr, 2, true, true, kRefused},
      {"V3.00.00", kSilentBoard, kStep, nullptr, 2, true, true,
       "Pendra2|Pendra2から応答がありません。\nPendra2を接続しなおしてから実行してください。"},
      {nullptr, kNoList, kStep, nullptr, 0, false, false, "HID|Invalid handle"},
      {nullptr, kCannotStart, kChime, "Chimecraft", 0, false, true,
       "Pendra2|Chimecraftを起動できませんでした。\nChimecraftがPendra2と同じフォルダーにあるか"
       "確かめてください。"},
      {"V3.00.00", kCannotStart, kStep, "Stepcraft", 0, true, true,
       "Pendra2|Stepcraftを起動できませんでした。\nStepcraftがPendra2と同じフォルダーにあるか"
       "確かめてください。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    Launcher l(c.version);
    l.transport.silent = c.fault == kSilentBoard;
    l.transport.listUnavailable = c.fault == kNoList;
    l.canStart = c.fault != kCannotStart;
    int handles = -1, pollsInBox = -1;
    l.onStart = [&] { handles = l.transport.openHandles(); };
    l.whileOpen = [&] {
      const int seen = l.window.pollCount();
      l.window.update();  // events keep reaching the window; none may restart the poll
      QTest::qWait(150);
      pollsInBox = l.window.pollCount() - seen;
    };
    l.window.show();
    l.window.RunCommand(c.command);
    l.board.WaitIdle();

    if (!c.started) handles = l.transport.openHandles();
    EXPECT_EQ(l.started, c.started ? QStringList{c.started} : QStringList{});
    EXPECT_EQ(handles, c.handles);
    const auto writes = l.transport.Writes();
    ASSERT_EQ(writes.size(), c.infoQuery ? 1u : 0u);
    for (const auto& report : writes) EXPECT_TRUE(report[1] == 'C' && report[2] == 0);
    ASSERT_EQ(l.asked.size(), c.message ? 1u : 0u);
    if (c.message) {
      const interaction::Prompt& shown = l.asked[0];
      EXPECT_EQ(shown.caption + "|" + shown.text, c.message);
      EXPECT_EQ(shown.buttons, interaction::PromptButtons::Ok);
      EXPECT_EQ(pollsInBox, 0);
    }
    EXPECT_EQ(l.window.isVisible(), c.stays);
    EXPECT_EQ(l.window.endStatus(), c.fault == kNoList ? std::optional(0) : std::nullopt);
    // A launcher that stays polls again; one that ends has stopped its poll.
    EXPECT_EQ(c.stays ? l.WaitForNextPoll() : l.window.pollScheduled(), c.stays);
  }
}

TEST(LauncherWindow, PaintsItsBackgroundAndAnswersButtonsShortcutsAndMenu) {
  Launcher l("V4.00.00");
  l.window.show();
  const QImage shot = l.window.centralWidget()->grab().toImage();
  const QImage back = ui::LoadBitmap(QStringLiteral("BACK"));
  // Picture spots clear of the buttons and the text, then the bare background beside it.
  EXPECT_EQ(shot.pixelColor(5, 300).rgb(), back.pixelColor(5, 300).rgb());
  EXPECT_EQ(shot.pixelColor(250, 20).rgb(), back.pixelColor(250, 20).rgb());
  EXPECT_EQ(shot.pixelColor(508, 200), QColor(200, 230, 180));
  // The words under the picture show through and act as the picture does.
  EXPECT_EQ(shot.pixelColor(300, 245).rgb(), back.pixelColor(300, 245).rgb());
  for (const char* button : {"2004", "2004-caption"}) {
    QTest::mouseClick(l.window.findChild<QPushButton*>(QString::fromLatin1(button)),
                      Qt::LeftButton);
    l.board.WaitIdle();
  }
  EXPECT_EQ(l.asked.size(), 2u) << "each ran the check, which refused the board";

  QApplication::setActiveWindow(&l.window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&l.window));
  // Alt+/ and Alt+? as a US and a Japanese keyboard send them ('?' is shifted on both).
  const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
      {Qt::Key_Slash, Qt::AltModifier},
      {Qt::Key_Question, Qt::AltModifier | Qt::ShiftModifier},
      {Qt::Key_Slash, Qt::AltModifier | Qt::ShiftModifier}};
  for (const auto& [key, modifiers] : keys) {
    l.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&l.window));
    bool opened = false;
    pendra2::testing::WhenModal([&](QDialog& box) {
      opened = true;
      EXPECT_EQ(box.windowTitle(), QStringLiteral("バージョン情報 Pendra2 制御ソフト 応用版"));
      EXPECT_EQ(pendra2::testing::Shown(box, 1002) + " " + pendra2::testing::Shown(box, 1003),
                QStringLiteral("2.15.27 541"));
      EXPECT_TRUE(l.WaitForNextPoll());
    });
    QTest::keyClick(&l.window, key, modifiers);
    EXPECT_TRUE(opened) << key;
  }
  EXPECT_TRUE(l.window.isVisible());
  l.window.menuBar()->actions()[0]->menu()->actions()[0]->trigger();
  EXPECT_FALSE(l.window.isVisible());
  EXPECT_FALSE(l.window.pollScheduled());
  EXPECT_TRUE(l.started.isEmpty());

  for (const char* button : {"2002", "2002-caption"}) {
    Launcher chime;
    chime.window.show();
    QTest::mouseClick(chime.window.findChild<QPushButton*>(QString::fromLatin1(button)),
                      Qt::LeftButton);
    EXPECT_EQ(chime.started, QStringList{QStringLiteral("Chimecraft")}) << button;
  }
}

}  // namespace
}  // namespace pendra2::launcher
