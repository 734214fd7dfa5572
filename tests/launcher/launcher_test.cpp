#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

#include "launcher/board_check.h"
#include "launcher/launcher_app.h"
#include "launcher/launcher_texts.h"
#include "support/fake_transport.h"
#include "ui_common/bitmaps.h"

namespace pendra2::launcher {
namespace {

using test::FakeCall;
const QString kFound =
    QStringLiteral("Pendra2が接続されました。\nそのまま取り外さずにご使用ください");
const QString kNotFound = QStringLiteral("Pendra2が接続されていません。\n操作はPCのみとなります。");
const char* const kWrongGeneration =
    "現在接続されているPendraでは実行できません。\nPendra2を接続して実行してください。";

// Records each prompt and closes its box unanswered; `whileOpen` runs while the box is up.
struct Prompter final : interaction::Prompter {
  interaction::PromptAnswer Ask(const interaction::Prompt& prompt) override {
    asked.push_back(prompt);
    if (whileOpen) whileOpen();
    return interaction::EscapeAnswer(prompt.buttons);
  }
  std::function<void()> whileOpen;
  std::vector<interaction::Prompt> asked;
};

// Records the programs it is asked to start and starts none.
struct Starter final : ui::ProgramStarter {
  bool StartProgram(const QString& name) override {
    started.push_back(name);
    if (onStart) onStart();
    return canStart;
  }
  bool canStart = true;
  std::function<void()> onStart;
  QStringList started;
};

// A launcher window on an in-process fake board.
struct Launcher {
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
    return QTest::qWaitFor([&] { return window.pollCount() > seen; }, 2000);
  }
  QString Status() const { return window.findChild<QLabel*>(QStringLiteral("2006"))->text(); }

  test::FakeTransport transport;
  device::Board board{transport, 50};
  Prompter prompter;
  Starter starter;
  LauncherWindow window{board, prompter, starter};
};

TEST(RunLauncher, LooksForTheBoardBeforeAnyWindowThenRunsUntilAnEditorIsStarted) {
  {
    Launcher failing;
    failing.transport.listUnavailable = true;
    bool shown = false;
    EXPECT_EQ(RunLauncher(failing.board, failing.prompter, failing.starter,
                          [&](LauncherWindow&) { shown = true; }),
              0);
    EXPECT_FALSE(shown);
    EXPECT_EQ(failing.prompter.asked.size(), 1u);
  }
  Launcher l;
  int enumeratedBeforeWindow = -1;
  const int status = RunLauncher(l.board, l.prompter, l.starter, [&](LauncherWindow& w) {
    enumeratedBeforeWindow = l.transport.CountCalls(FakeCall::Enumerate);
    QTimer::singleShot(100, &w, [&w] { w.RunCommand(kCommandChimecraft); });
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(enumeratedBeforeWindow, 1);
  EXPECT_EQ(l.starter.started, QStringList{QStringLiteral("Chimecraft")});
}

TEST(LauncherPoll, WaitsForAPauseInTheEventsThenFollowsTheBoardWithoutTouchingIt) {
  Launcher l;
  l.window.show();
  QWidget* canvas = l.window.centralWidget();
  for (int i = 0; i < 20; ++i) {  // a pointer moving without pause holds the poll back
    const QPointF at(100 + i, 300);
    QMouseEvent move(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    QTest::qWait(20);
  }
  EXPECT_EQ(l.window.pollCount(), 0);
  EXPECT_EQ(l.Status(), QStringLiteral("text"));
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
  EXPECT_EQ(l.prompter.asked.size(), 1u);
  EXPECT_FALSE(l.window.isVisible());
  EXPECT_FALSE(l.window.pollScheduled());
}

enum Fault { kNoFault, kSilentBoard, kNoList, kCannotStart };
enum Message { kNoMessage, kRefused, kHidFailure, kStartFailed, kSilent };

TEST(LauncherStart, EachEditorStartsOrIsRefusedAsTheBoardAllows) {
  const int kStep = kCommandStepcraft, kChime = kCommandChimecraft;
  const struct {
    const char* version;  // the board plugged in; nullptr: none
    Fault fault;
    int command;
    const char* started;  // the editor handed to the starter; nullptr: none
    int handles;          // channels open as the editor starts, or after a refusal
    bool infoQuery;       // the one report sent, else none
    bool stays;
    Message message;
  } cases[] = {
      {nullptr, kNoFault, kStep, "Stepcraft", 0, false, false, kNoMessage},
      {"V4.00.00", kNoFault, kChime, "Chimecraft", 0, false, false, kNoMessage},
      {"V3.00.00", kNoFault, kStep, "Stepcraft", 0, true, false, kNoMessage},
      {"V4.00.00", kNoFault, kStep, nullptr, 2, true, true, kRefused},
      {"V2.10.00", kNoFault, kStep, nullptr, 2, true, true, kRefused},
      {"3V.00.00", kNoFault, kStep, nullptr, 2, true, true, kRefused},
      {"V3.00.00", kSilentBoard, kStep, nullptr, 2, true, true, kSilent},
      {nullptr, kNoList, kStep, nullptr, 0, false, false, kHidFailure},
      {nullptr, kCannotStart, kChime, "Chimecraft", 0, false, true, kStartFailed},
      {"V3.00.00", kCannotStart, kStep, "Stepcraft", 0, true, true, kStartFailed},
  };
  const std::pair<QString, QString> messages[] = {
      {},
      {QStringLiteral("Version not much"), QString::fromUtf8(kWrongGeneration)},
      {QStringLiteral("HID"), QStringLiteral("Invalid handle")},
      {QStringLiteral("Pendra2"), {}},
      {QString::fromUtf8(kNoAnswerCaption), QString::fromUtf8(kNoAnswerText)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    Launcher l(c.version);
    l.transport.silent = c.fault == kSilentBoard;
    l.transport.listUnavailable = c.fault == kNoList;
    l.starter.canStart = c.fault != kCannotStart;
    int handles = -1, pollsInBox = -1;
    l.starter.onStart = [&] { handles = l.transport.openHandles(); };
    l.prompter.whileOpen = [&] {
      const int seen = l.window.pollCount();
      l.window.update();  // events keep reaching the window; none may restart the poll
      QTest::qWait(150);
      pollsInBox = l.window.pollCount() - seen;
    };
    l.window.show();
    l.window.RunCommand(c.command);

    if (!c.started) handles = l.transport.openHandles();
    EXPECT_EQ(l.starter.started, c.started ? QStringList{c.started} : QStringList{});
    EXPECT_EQ(handles, c.handles);
    const auto writes = l.transport.Writes();
    ASSERT_EQ(writes.size(), c.infoQuery ? 1u : 0u);
    for (const auto& report : writes) EXPECT_TRUE(report[1] == 'C' && report[2] == 0);
    ASSERT_EQ(l.prompter.asked.size(), c.message == kNoMessage ? 0u : 1u);
    if (c.message != kNoMessage) {
      const interaction::Prompt& shown = l.prompter.asked[0];
      const auto& [caption, text] = messages[c.message];
      EXPECT_EQ(shown.caption, caption.toStdString());
      EXPECT_EQ(shown.text, c.message == kStartFailed
                                ? QString::fromUtf8(kStartFailedText).arg(c.started).toStdString()
                                : text.toStdString());
      EXPECT_EQ(shown.buttons, interaction::PromptButtons::Ok);
      EXPECT_EQ(pollsInBox, 0);
    }
    EXPECT_EQ(l.window.isVisible(), c.stays);
    EXPECT_EQ(l.window.endStatus(), c.fault == kNoList ? std::optional(0) : std::nullopt);
    // A launcher that stays polls again; one that ends has stopped its poll.
    EXPECT_EQ(c.stays ? l.WaitForNextPoll() : l.window.pollScheduled(), c.stays);
  }
}

TEST(LauncherLayout, WindowMenusArtworkAndButtonsSitWhereTheBackgroundExpectsThem) {
  Launcher l("V4.00.00");
  LauncherWindow& w = l.window;
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Pendra2 制御ソフト　応用版"));
  EXPECT_EQ(w.objectName(), QStringLiteral("Pendra2 PC"));
  EXPECT_EQ(w.size(), QSize(517, 460));
  // Positions are in the client area, below the menu.
  const std::pair<const char*, QRect> places[] = {{"2002", QRect(40, 60, 200, 159)},
                                                  {"2004", QRect(270, 60, 200, 159)},
                                                  {"2006", QRect(20, 342, 295, 50)}};
  for (const auto& [id, rect] : places) {
    SCOPED_TRACE(id);
    auto* widget = w.findChild<QWidget*>(QString::fromLatin1(id));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), w.centralWidget());
    EXPECT_EQ(widget->geometry(), rect);
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      EXPECT_EQ(button->iconSize(), QSize(200, 159));
      EXPECT_FALSE(button->icon().isNull());
    }
  }

  const QList<QAction*> menus = w.menuBar()->actions();
  ASSERT_EQ(menus.size(), 2);
  EXPECT_EQ(menus[0]->text(), QStringLiteral("ファイル(&F)"));
  EXPECT_EQ(menus[1]->text(), QStringLiteral("ヘルプ(&H)"));
  const QList<QAction*> file = menus[0]->menu()->actions();
  const QList<QAction*> help = menus[1]->menu()->actions();
  ASSERT_EQ(file.size(), 1);
  ASSERT_EQ(help.size(), 1);
  EXPECT_EQ(file[0]->text(), QStringLiteral("アプリケーションの終了(&X)"));
  EXPECT_EQ(file[0]->data().toInt(), 105);
  EXPECT_EQ(help[0]->text(), QStringLiteral("バージョン情報(&A)..."));
  EXPECT_EQ(help[0]->data().toInt(), 104);

  EXPECT_EQ(ui::BitmapSize(QStringLiteral("BACK")), QSize(500, 400));
  EXPECT_EQ(ui::BitmapSize(QStringLiteral("T_ORG")), QSize(200, 159));
  EXPECT_EQ(ui::BitmapSize(QStringLiteral("T_FC")), QSize(200, 159));
  w.show();
  const QImage shot = w.centralWidget()->grab().toImage();
  const QImage back = ui::LoadBitmap(QStringLiteral("BACK"));
  // Picture spots clear of the buttons and the text, then the bare background beside it.
  EXPECT_EQ(shot.pixelColor(5, 300).rgb(), back.pixelColor(5, 300).rgb());
  EXPECT_EQ(shot.pixelColor(250, 20).rgb(), back.pixelColor(250, 20).rgb());
  EXPECT_EQ(shot.pixelColor(508, 200), QColor(200, 230, 180));

  QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("2004")), Qt::LeftButton);
  EXPECT_EQ(l.prompter.asked.size(), 1u);  // the check ran and refused the board
  QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("2002")), Qt::LeftButton);
  EXPECT_EQ(l.starter.started, QStringList{QStringLiteral("Chimecraft")});
}

TEST(LauncherLayout, AltSlashOpensTheAboutBoxWhileThePollGoesOnAndTheExitMenuCloses) {
  Launcher l;
  l.window.show();
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
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      opened = true;
      EXPECT_EQ(box->windowTitle(), QStringLiteral("バージョン情報 Pendra2 制御ソフト 応用版"));
      EXPECT_EQ(box->findChild<QLabel*>(QStringLiteral("1002"))->text(), QStringLiteral("2.15.27"));
      EXPECT_EQ(box->findChild<QLabel*>(QStringLiteral("1003"))->text(), QStringLiteral("541"));
      EXPECT_TRUE(l.WaitForNextPoll());
      box->reject();
    });
    QTest::keyClick(&l.window, key, modifiers);
    EXPECT_TRUE(opened) << key;
  }
  EXPECT_TRUE(l.window.isVisible());
  l.window.menuBar()->actions()[0]->menu()->actions()[0]->trigger();
  EXPECT_FALSE(l.window.isVisible());
  EXPECT_FALSE(l.window.pollScheduled());
  EXPECT_TRUE(l.starter.started.isEmpty());
}

}  // namespace
}  // namespace pendra2::launcher
