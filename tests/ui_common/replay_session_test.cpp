// The replay engine offscreen, against a stand-in for an editor: commands that open message
// boxes, file and print dialogs, and modal dialogs built like the editors' (named by their
// template ids, their controls by the control ids).

#include <gtest/gtest.h>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <functional>
#include <map>
#include <sstream>

#include "ui_common/replay/replay_session.h"

namespace pendra2::ui::replay {
namespace {

using interaction::FileDialogKind;
using interaction::PromptButtons;

// A modal dialog named `id`; OK may be refused, and a stubborn one turns Cancel down, as a
// dialog that must not be left half-way does.
class Dialog final : public QDialog {
 public:
  Dialog(QWidget* owner, const char* id) : QDialog(owner) {
    setObjectName(QString::fromLatin1(id));
    new QVBoxLayout(this);
  }
  QLineEdit* Edit(const char* id, const QString& text) {
    auto* edit = new QLineEdit(text, this);
    edit->setObjectName(QString::fromLatin1(id));
    layout()->addWidget(edit);
    return edit;
  }
  void Button(const char* id, const std::function<void()>& clicked) {
    auto* button = new QPushButton(QString::fromLatin1(id), this);
    button->setObjectName(QString::fromLatin1(id));
    layout()->addWidget(button);
    connect(button, &QPushButton::clicked, this, clicked);
  }
  void accept() override {
    if (!okGuard || okGuard()) QDialog::accept();
  }
  void reject() override {
    if (!stubborn) QDialog::reject();
  }
  std::function<bool()> okGuard;
  bool stubborn = false;
};

// A stand-in editor. Commands: 184 the wait dialog (edit 3001, 0 to 383 seconds, at most 9
// characters; OK and Cancel are controls 1 and 2), 185 a tune dialog with a read-only path
// (3001), a browse button (3002), the wait dialog nested (3003) and a button box, 186 a
// stubborn dialog, 200 a Yes/No/Cancel box, 201 an OK box, 300 a save dialog, 400 printing,
// 600 a new caption. List 2004 has two entries. What it did is noted in `events`.
class FakeEditor final : public QObject, public ReplayTarget {
 public:
  explicit FakeEditor(ReplaySession& session) : session_(session) {
    window_.setObjectName(QStringLiteral("window"));
    window_.resize(300, 200);
    window_.setMouseTracking(true);  // hover, as the editors' document windows have it
    window_.setWindowTitle(QStringLiteral("編集 [No Title]"));
    // A child control over the click position: replayed clicks must not reach it.
    auto* child = new QPushButton(QStringLiteral("child"), &window_);
    child->setObjectName(QStringLiteral("child"));
    child->setGeometry(0, 0, 300, 200);
    window_.installEventFilter(this);
    child->installEventFilter(this);
    commands_ = {
        {184, [this] { AskWait(&window_); }},
        {185, [this] { AskTune(); }},
        {186,
         [this] {
           Dialog stubborn(&window_, "186");
           stubborn.stubborn = true;
           stubborn.exec();
           Note("stubborn closed");
         }},
        {200,
         [this] {
           Note("asked " + std::string(AnswerName(Ask("内容が変更されています\n保存しますか？",
                                                      "終了", PromptButtons::YesNoCancel))));
         }},
        {201, [this] { Ask("保存が完了しました", "保存", PromptButtons::Ok); }},
        {300,
         [this] {
           Note("saved " + session_.fileChooser()
                               .Choose({FileDialogKind::Save, "アクティビティ図ファイル保存",
                                        "flowchart FILE (*.flc)", "*.flc", "flc"})
                               .value_or("-"));
         }},
        {400,
         [this] {
           QPrinter printer;
           if (!session_.printChooser().Choose(printer, &window_)) return Note("not printed");
           QPainter(&printer).drawText(100, 100, QStringLiteral("page"));
           Note("printed " + printer.outputFileName().toStdString());
         }},
        {600, [this] { window_.setWindowTitle(QStringLiteral("編集 [prog.flc]")); }},
    };
  }

  bool Command(int id) override {
    const auto command = commands_.find(id);
    if (command == commands_.end()) return false;
    command->second();
    return true;
  }
  bool Select(int listId, int index) override {
    if (listId != 2004 || index > 1) return false;
    Note("select " + std::to_string(index));
    return true;
  }
  void Scroll(ScrollKind kind, int position) override {
    static constexpr const char* kNames[] = {"lineup", "linedown", "pageup", "pagedown", "thumb"};
    Note(std::string("scroll ") + kNames[static_cast<int>(kind)] + " " + std::to_string(position));
  }
  QWidget* PointerWindow() override { return &window_; }

  QWidget& window() { return window_; }
  std::string events;  // joined by '|'

 protected:
  // Each mouse event with the widget that received it and its position.
  bool eventFilter(QObject* watched, QEvent* event) override {
    const std::map<QEvent::Type, const char*> kinds = {{QEvent::MouseButtonPress, "press"},
                                                       {QEvent::MouseButtonRelease, "release"},
                                                       {QEvent::MouseMove, "move"}};
    if (const auto kind = kinds.find(event->type()); kind != kinds.end()) {
      const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
      Note(std::string(kind->second) + " " + watched->objectName().toStdString() + " " +
           std::to_string(at.x()) + " " + std::to_string(at.y()));
    }
    return false;
  }

 private:
  void Note(const std::string& event) { events += (events.empty() ? "" : "|") + event; }
  interaction::PromptAnswer Ask(const char* text, const char* caption, PromptButtons buttons) {
    return session_.prompter().Ask({text, caption, buttons, {}});
  }

  void AskWait(QWidget* owner) {
    Dialog dialog(owner, "184");
    QLineEdit* edit = dialog.Edit("3001", waitValue_);
    edit->setMaxLength(9);
    dialog.Button("1", [&] { dialog.accept(); });
    dialog.Button("2", [&] { dialog.reject(); });
    dialog.okGuard = [&] {
      bool number = false;
      const double seconds = edit->text().toDouble(&number);
      if (number && seconds >= 0 && seconds <= 383) return true;
      Ask("0から383秒まで指定できます。", "注意！！", PromptButtons::Ok);
      return false;
    };
    if (dialog.exec() == QDialog::Accepted) waitValue_ = edit->text();
    Note("wait " + waitValue_.toStdString());
  }

  // The file dialog and the nested dialog open from inside this dialog's own modal loop, as
  // in Stepcraft's tune dialog.
  void AskTune() {
    Dialog dialog(&window_, "185");
    QLineEdit* path = dialog.Edit("3001", {});
    path->setReadOnly(true);
    dialog.Button("3002", [&] {
      const auto chosen = session_.fileChooser().Choose(
          {FileDialogKind::Open, "オルゴールファイル読込み", "orgel FILE (*.olg)", "*.olg", "olg"});
      if (chosen) path->setText(QString::fromStdString(*chosen));
    });
    dialog.Button("3003", [&] { AskWait(&dialog); });
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    dialog.layout()->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    Note(std::string("tune ") + (accepted ? "ok " : "cancel ") + path->text().toStdString());
  }

  ReplaySession& session_;
  QWidget window_;
  QString waitValue_ = QStringLiteral("1.0");
  std::map<int, std::function<void()>> commands_;
};

struct Replayed {
  int status = -1;
  std::string transcript;
  std::string error;
  std::string events;
};

Replayed Replay(const std::string& text) {
  const auto parsed = ParseReplayScript(text);
  EXPECT_TRUE(parsed.ok()) << parsed.error;
  std::ostringstream out, err;
  ReplaySession session(out, err);
  FakeEditor editor(session);
  session.WatchTitle(&editor.window());
  editor.window().show();
  const int status = session.RunInEventLoop(editor, *parsed.script);
  return {status, out.str(), err.str(), editor.events};
}

TEST(ReplaySession, WritesWhatTheUserWouldHaveSeenLineByLine) {
  QTemporaryDir folder;
  const std::string pdf = folder.filePath(QStringLiteral("out.pdf")).toStdString();
  const struct {
    std::string script;
    std::string transcript;
    std::string events;
  } cases[] = {
      {"answer no\ncommand 200\ncommand 201\n",  // nothing queued for 201: its default button
       "message \"終了\" \"内容が変更されています\\n保存しますか？\" -> no\n"
       "message \"保存\" \"保存が完了しました\" -> ok (unanswered)\n",
       "asked no"},
      {"file \"prog\"\ncommand 300\ncommand 300\ncommand 600\n",
       "file save \"アクティビティ図ファイル保存\" -> \"prog\"\n"
       "file save \"アクティビティ図ファイル保存\" -> cancel (unanswered)\n"
       "title \"編集 [prog.flc]\"\n",
       "saved prog|saved -"},
      {"print " + QuoteText(pdf) + "\ncommand 400\nprint cancel\ncommand 400\n",
       "print -> " + QuoteText(pdf) + "\nprint -> cancel\n", "printed " + pdf + "|not printed"},
      // Dialogs nobody answers are cancelled, even one that turns Cancel down.
      {"command 184\ncommand 186\n",
       "dialog 184 shows 3001=\"1.0\"\ndialog 184 -> cancel (unanswered)\n"
       "dialog 186 shows\ndialog 186 -> cancel (unanswered)\n",
       "wait 1.0|stubborn closed"},
      // A file dialog and a dialog opened from inside a dialog.
      {"file \"tunes/a.olg\"\ndialog 185\n  press 3002\n  press 3003\nend ok\n"
       "dialog 184\n  set 3001 \"4\"\nend ok\ncommand 185\n",
       "dialog 185 shows 3001=\"\"\n"
       "file open \"オルゴールファイル読込み\" -> \"tunes/a.olg\"\n"
       "dialog 184 shows 3001=\"1.0\"\ndialog 184 -> ok\ndialog 185 -> ok\n",
       "wait 4|tune ok tunes/a.olg"},
      // Clicks and moves reach the window itself, never the child control under them.
      {"click 20 30\nmove 5 6\nselect 2004 0\nselect 2004 0\nscroll thumb 600\nscroll linedown\n",
       "",
       "press window 20 30|release window 20 30|move window 5 6|select 0|select 0|"
       "scroll thumb 600|scroll linedown 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    const auto replayed = Replay(c.script);
    EXPECT_EQ(replayed.status, kReplayDone) << replayed.error;
    EXPECT_EQ(replayed.transcript, c.transcript);
    EXPECT_EQ(replayed.events, c.events);
  }
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
    EXPECT_EQ(replayed.events, std::string("wait ") + c.value);
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

}  // namespace
}  // namespace pendra2::ui::replay
