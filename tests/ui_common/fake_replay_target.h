#pragma once
// A program-free ReplayTarget for testing the replay engine offscreen, and an example of what
// each editor implements: commands that open a message box, file and print dialogs and modal
// dialogs built like the editors' (object names are the template and control ids).

#include <QDialog>
#include <QLineEdit>
#include <QPrinter>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "ui_common/replay/replay_session.h"

namespace pendra2::ui::replay::testing {

// A wait dialog: edit 3001 holds seconds from 0 to 383; OK refuses anything else with a
// message and stays open, like the editors' field rules.
class FakeWaitDialog final : public QDialog {
 public:
  FakeWaitDialog(QWidget* owner, interaction::Prompter& prompter, const QString& value);
  void accept() override;
  QString value() const { return edit_->text(); }

 private:
  interaction::Prompter& prompter_;
  QLineEdit* edit_ = nullptr;
};

class FakeReplayTarget final : public ReplayTarget {
 public:
  // The commands it handles.
  static constexpr int kWaitDialog = 184;  // FakeWaitDialog "184"
  static constexpr int kAskSave = 200;     // Yes/No/Cancel box
  static constexpr int kTellDone = 201;    // OK box with a two-line text
  static constexpr int kSaveAs = 300;      // save dialog
  static constexpr int kPrint = 400;       // print dialog, then prints a page
  static constexpr int kTuneDialog = 185;  // dialog 185 with browse (3002) and nested 184 (3003)
  static constexpr int kStubborn = 186;    // dialog 186: no edits, turns Cancel down
  static constexpr int kRename = 600;      // changes the window caption
  static constexpr int kViewList = 2004;   // Select: two entries

  FakeReplayTarget(interaction::Prompter& prompter, interaction::FileChooser& files,
                   PrintChooser& prints);

  bool Command(int id) override;
  bool Select(int listId, int index) override;
  void Scroll(ScrollKind kind, int position) override;
  QWidget* PointerWindow() override { return &window_; }

  QWidget& window() { return window_; }

  // What happened, in order, as plain words for the tests to compare.
  std::vector<std::string> events;
  QString waitValue = QStringLiteral("1.0");

 private:
  void OpenTuneDialog();

  interaction::Prompter& prompter_;
  interaction::FileChooser& files_;
  PrintChooser& prints_;
  QWidget window_;
};

}  // namespace pendra2::ui::replay::testing
