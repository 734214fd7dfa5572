#include <QApplication>
#include <QTimer>

#include "launcher/launcher_app.h"
#include "launcher/launcher_texts.h"
#include "launcher_fixture.h"

namespace pendra2::launcher {
namespace {

using test::FakeCall;
using LauncherApp = LauncherFixture;

TEST_F(LauncherApp, AnUnavailableInterfaceListAtStartEndsBeforeAnyWindowWithStatusZero) {
  transport.listUnavailable = true;
  bool shown = false;
  EXPECT_EQ(RunLauncher(board, prompter, starter, [&](LauncherWindow&) { shown = true; }), 0);
  EXPECT_FALSE(shown);
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].text, QStringLiteral("Invalid handle"));
  EXPECT_EQ(prompter.asked[0].caption, QStringLiteral("HID"));
}

TEST_F(LauncherApp, LooksForTheBoardFirstThenRunsUntilAnEditorIsStarted) {
  PlugBoard("V4.00.00");
  int enumeratedBeforeWindow = -1;
  const int status = RunLauncher(board, prompter, starter, [&](LauncherWindow& window) {
    enumeratedBeforeWindow = transport.CountCalls(FakeCall::Enumerate);
    QTimer::singleShot(100, &window, [&window] { window.RunCommand(kCommandChimecraft); });
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(enumeratedBeforeWindow, 1);
  EXPECT_EQ(starter.started, QStringList{QStringLiteral("Chimecraft")});
}

}  // namespace
}  // namespace pendra2::launcher
