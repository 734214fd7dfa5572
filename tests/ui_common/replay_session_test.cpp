#include <gtest/gtest.h>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <sstream>

#include "fake_replay_target.h"
#include "ui_common/replay/replay_session.h"

namespace pendra2::ui::replay {
namespace {

using testing::FakeReplayTarget;

struct Replayed {
  int status = -1;
  std::string transcript;
  std::string error;
  std::vector<std::string> events;
  std::string waitValue;
};

Replayed Replay(const std::string& text) {
  const auto parsed = ParseReplayScript(text);
  EXPECT_TRUE(parsed.ok()) << parsed.error;
  std::ostringstream out, err;
  ReplaySession session(out, err);
  FakeReplayTarget target(session.prompter(), session.fileChooser(), session.printChooser());
  session.WatchTitle(&target.window());
  target.window().show();
  Replayed replayed;
  replayed.status = session.RunInEventLoop(target, *parsed.script);
  replayed.transcript = out.str();
  replayed.error = err.str();
  replayed.events = target.events;
  replayed.waitValue = target.waitValue.toStdString();
  return replayed;
}

TEST(ReplaySession, WritesWhatTheUserWouldHaveSeenLineByLine) {
  QTemporaryDir folder;
  const std::string pdf = folder.filePath(QStringLiteral("out.pdf")).toStdString();
  const auto replayed = Replay(
      "answer no\n"
      "command 200\n"
      "command 201\n"  // nothing queued: its default button
      "file \"prog\"\n"
      "command 300\n"
      "command 300\n"  // nothing queued: cancelled
      "print " +
      QuoteText(pdf) +
      "\n"
      "command 400\n"
      "print cancel\n"
      "command 400\n"
      "command 600\n"
      "dialog 184\n"
      "  set 3001 \"2.5\"\n"
      "end ok\n"
      "command 184\n");
  EXPECT_EQ(replayed.status, kReplayDone) << replayed.error;
  EXPECT_EQ(replayed.transcript,
            "message \"終了\" \"内容が変更されています\\n保存しますか？\" -> no\n"
            "message \"保存\" \"保存が完了しました\" -> ok (unanswered)\n"
            "file save \"アクティビティ図ファイル保存\" -> \"prog\"\n"
            "file save \"アクティビティ図ファイル保存\" -> cancel (unanswered)\n"
            "print -> " +
                QuoteText(pdf) +
                "\n"
                "print -> cancel\n"
                "title \"編集 [prog.flc]\"\n"
                "dialog 184 shows 3001=\"1.0\"\n"
                "dialog 184 -> ok\n");
  EXPECT_EQ(replayed.events,
            (std::vector<std::string>{"asked no", "saved prog", "saved -", "printed " + pdf,
                                      "not printed", "wait 2.5"}));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(pdf)));
}

TEST(ReplaySession, PlaysDialogBlocksOnTheRealControls) {
  const struct {
    const char* block;
    int status;
    const char* transcript;  // after the shows line
    const char* value;
  } cases[] = {
      {"end cancel", 0, "dialog 184 -> cancel\n", "1.0"},
      {"  set 3001 \"12\"\n  press 1\n  wait 5\nend cancel", 0, "dialog 184 -> ok\n", "12"},
      // A refused entry leaves the dialog open for the next lines.
      {"  set 3001 \"x\"\n  press 1\n  set 3001 \"3\"\nend ok", 0,
       "message \"注意！！\" \"0から383秒まで指定できます。\" -> ok (unanswered)\n"
       "dialog 184 -> ok\n",
       "3"},
      {"  set 3001 \"999\"\nend ok", 0,
       "message \"注意！！\" \"0から383秒まで指定できます。\" -> ok (unanswered)\n"
       "dialog 184 -> cancel (still open)\n",
       "1.0"},
      // The field's own length limit applies to what is typed.
      {"  set 3001 \"1.000000000005\"\nend ok", 0, "dialog 184 -> ok\n", "1.0000000"},
      {"  press 3009\nend ok", 3, "dialog 184 -> cancel (abandoned)\n", "1.0"},
      {"  press 3001\nend ok", 3, "dialog 184 -> cancel (abandoned)\n", "1.0"},
      {"  press 1\n  set 3001 \"2\"\nend ok", 3, "dialog 184 -> cancel (abandoned)\n", "1.0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.block);
    const auto replayed = Replay(std::string("dialog 184\n") + c.block + "\ncommand 184\n");
    EXPECT_EQ(replayed.status, c.status) << replayed.error;
    EXPECT_EQ(replayed.transcript, std::string("dialog 184 shows 3001=\"1.0\"\n") + c.transcript);
    EXPECT_EQ(replayed.waitValue, c.value);
    EXPECT_EQ(replayed.error.empty(), c.status == 0) << replayed.error;
  }
}

TEST(ReplaySession, NamesTheScriptLineWhenTheSessionGoesOtherwise) {
  const struct {
    const char* script;
    const char* error;
    const char* transcript;
  } cases[] = {
      {"wait 0\ndialog 185\nend ok\ncommand 184\ncommand 184\n",
       "replay: line 2: dialog 184 opened, but the script expects dialog 185\n",
       "dialog 184 shows 3001=\"1.0\"\ndialog 184 -> cancel (unexpected)\n"},
      {"answer yes\ncommand 201\n",
       "replay: line 1: answer yes does not fit the message box \"保存\", which offers no such "
       "button\n",
       "message \"保存\" \"保存が完了しました\" -> ok (abandoned)\n"},
      {"command 201\nanswer ok\nfile cancel\n",
       "replay: line 2: answer ok was queued, but no message box asked for it\n",
       "message \"保存\" \"保存が完了しました\" -> ok (unanswered)\n"},
      {"print cancel\ndialog 184\nend ok\n",
       "replay: line 1: a print answer was queued, but no print dialog opened\n", ""},
      {"command 999\ncommand 184\n", "replay: line 1: no window handles command 999\n", ""},
      {"select 2004 2\n", "replay: line 1: the program has no list 2004 with an entry 2\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    const auto replayed = Replay(c.script);
    EXPECT_EQ(replayed.status, kReplayWentOtherwise);
    EXPECT_EQ(replayed.error, c.error);
    EXPECT_EQ(replayed.transcript, c.transcript);
  }
}

TEST(ReplaySession, UnansweredDialogIsCancelledEvenWhenItTurnsCancelDown) {
  const auto replayed = Replay("command 184\ncommand 186\n");
  EXPECT_EQ(replayed.status, kReplayDone);
  EXPECT_EQ(replayed.transcript,
            "dialog 184 shows 3001=\"1.0\"\ndialog 184 -> cancel (unanswered)\n"
            "dialog 186 shows\ndialog 186 -> cancel (unanswered)\n");
  EXPECT_EQ(replayed.events, (std::vector<std::string>{"wait 1.0", "stubborn closed"}));
}

TEST(ReplaySession, RunsFileDialogsAndDialogsOpenedFromInsideADialog) {
  const auto replayed = Replay(
      "file \"tunes/a.olg\"\n"
      "dialog 185\n"
      "  press 3002\n"
      "  press 3003\n"
      "end ok\n"
      "dialog 184\n"
      "  set 3001 \"4\"\n"
      "end ok\n"
      "command 185\n");
  EXPECT_EQ(replayed.status, kReplayDone) << replayed.error;
  EXPECT_EQ(replayed.transcript,
            "dialog 185 shows 3001=\"\"\n"
            "file open \"オルゴールファイル読込み\" -> \"tunes/a.olg\"\n"
            "dialog 184 shows 3001=\"1.0\"\n"
            "dialog 184 -> ok\n"
            "dialog 185 -> ok\n");
  EXPECT_EQ(replayed.events, std::vector<std::string>{"tune ok tunes/a.olg"});
  EXPECT_EQ(replayed.waitValue, "4");
}

// Offscreen the windows are painted onto a desktop at their places: the program's own picture
// is as large as its windows, the whole screen as the screen; a dialog on top shows in both.
TEST(ReplaySession, TakesPicturesOfTheWindowsAndTheScreen) {
  QTemporaryDir folder;
  const auto path = [&](const char* name) { return folder.filePath(name).toStdString(); };
  const auto replayed =
      Replay("shot " + QuoteText(path("main.png")) + "\ndialog 184\n  shot " +
             QuoteText(path("dialog.png")) + " screen\nend ok\ncommand 184\nshot " +
             QuoteText(path("no/such/folder.png")) + "\n");
  EXPECT_EQ(replayed.status, kReplayWentOtherwise);
  EXPECT_NE(replayed.error.find("line 6: cannot write"), std::string::npos) << replayed.error;
  const QImage main(QString::fromStdString(path("main.png")));
  const QImage dialog(QString::fromStdString(path("dialog.png")));
  ASSERT_FALSE(main.isNull());
  ASSERT_FALSE(dialog.isNull());
  EXPECT_EQ(main.size(), QSize(300, 200));
  EXPECT_EQ(dialog.size(), QGuiApplication::primaryScreen()->geometry().size());
}

TEST(ReplaySession, DeliversMouseEventsToTheWindowItselfAndPassesListsAndScrolls) {
  const auto replayed = Replay(
      "click 20 30\nmove 5 6\nselect 2004 0\nselect 2004 0\nscroll thumb 600\nscroll linedown\n");
  EXPECT_EQ(replayed.status, kReplayDone) << replayed.error;
  EXPECT_EQ(replayed.events, (std::vector<std::string>{"press window 20 30", "release window 20 30",
                                                       "move window 5 6", "select 0", "select 0",
                                                       "scroll thumb 600", "scroll linedown 0"}));
  EXPECT_EQ(replayed.transcript, "");
}

}  // namespace
}  // namespace pendra2::ui::replay
