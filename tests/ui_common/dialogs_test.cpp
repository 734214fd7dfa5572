// The Qt message box, file dialog and transfer dialog behind the editors' interfaces.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProgressBar>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include "ui_common/japanese_qt_texts.h"
#include "ui_common/qt_file_chooser.h"
#include "ui_common/qt_prompter.h"
#include "ui_common/qt_test_support.h"
#include "ui_common/transfer_progress.h"

namespace pendra2::ui {
namespace {

using pendra2::testing::WhenModal;

TEST(QtPrompter, ShowsThePromptUnchangedAndReturnsTheAnswerGiven) {
  using Box = QMessageBox;
  using A = interaction::PromptAnswer;
  using B = interaction::PromptButtons;
  using I = interaction::PromptIcon;
  const Box::StandardButtons kYesNoCancel = Box::Yes | Box::No | Box::Cancel;
  const struct {
    B buttons;
    I icon;
    Box::StandardButton press;  // NoButton: the box is closed without a button
    A answer;
    Box::StandardButtons shown;
    Box::Icon shownIcon;
  } cases[] = {
      {B::YesNoCancel, I::Question, Box::No, A::No, kYesNoCancel, Box::Question},
      {B::YesNoCancel, I::None, Box::NoButton, A::Cancel, kYesNoCancel, Box::NoIcon},
      {B::Ok, I::Error, Box::Ok, A::Ok, Box::Ok, Box::Critical},
      {B::Ok, I::None, Box::NoButton, A::Ok, Box::Ok, Box::NoIcon},
      {B::OkCancel, I::Warning, Box::Cancel, A::Cancel, Box::Ok | Box::Cancel, Box::Warning},
      {B::OkCancel, I::None, Box::NoButton, A::Cancel, Box::Ok | Box::Cancel, Box::NoIcon},
      {B::YesNo, I::Information, Box::Yes, A::Yes, Box::Yes | Box::No, Box::Information},
      {B::YesNo, I::None, Box::NoButton, A::No, Box::Yes | Box::No, Box::NoIcon},
  };
  QWidget owner;
  QtPrompter prompter(&owner);
  // A line break and markup both reach the box as they stand.
  const QString text = QStringLiteral("<b>内容が変更されています</b>\n保存しますか？");
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    WhenModal<Box>([&](Box& box) {
      EXPECT_EQ(box.text(), text);
      EXPECT_EQ(box.textFormat(), Qt::PlainText);
      EXPECT_EQ(box.windowTitle(), QStringLiteral("終了"));
      EXPECT_EQ(box.standardButtons(), c.shown);
      EXPECT_EQ(box.icon(), c.shownIcon);
      EXPECT_EQ(box.parentWidget(), &owner);
      if (c.press != Box::NoButton) box.button(c.press)->click();
    });
    EXPECT_EQ(prompter.Ask({text.toStdString(), "終了", c.buttons, c.icon}), c.answer);
  }
}

TEST(QtFileChooser, ShowsTheRequestAndReturnsThePathChosenOrNothing) {
  using interaction::FileDialogKind;
  // The filter gets its pattern only when the name lacks it.
  EXPECT_EQ(FileFilter({FileDialogKind::Open, "", "orgel FILE", "*.olg", "olg"}),
            QStringLiteral("orgel FILE (*.olg)"));
  QTemporaryDir folder;
  QWidget owner;
  QtFileChooser chooser(&owner);
  const QString typed = QDir(folder.path()).filePath(QStringLiteral("prog"));
  WhenModal<QFileDialog>([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("アクティビティ図ファイル保存"));
    EXPECT_EQ(dialog.nameFilters(), QStringList{QStringLiteral("flowchart FILE (*.flc)")});
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("flc"));
    EXPECT_EQ(dialog.parentWidget(), &owner);
    dialog.selectFile(typed);
    static_cast<QDialog&>(dialog).accept();  // as the OK button does
  });
  EXPECT_EQ(chooser.Choose({FileDialogKind::Save, "アクティビティ図ファイル保存",
                            "flowchart FILE (*.flc)", "*.flc", "flc"}),
            typed.toStdString() + ".flc");

  // The next dialog opens in the folder of the last choice; cancelling gives nothing.
  WhenModal<QFileDialog>([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog.directory().absolutePath(), QDir(folder.path()).absolutePath());
  });
  EXPECT_FALSE(chooser.Choose({FileDialogKind::Open, "アクティビティ図ファイル読込み",
                               "flowchart FILE (*.flc)", "*.flc", "flc"}));
  // A save opens where the user last saved; before any, in the documents folder, and never
  // among the examples.
  WhenModal<QFileDialog>([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.directory().absolutePath(), QDir(folder.path()).absolutePath());
  });
  EXPECT_FALSE(chooser.Choose({FileDialogKind::Save, "", "", "", ""}));
  QTemporaryDir documents, home, examples;
  EXPECT_EQ(SaveFolder("", documents.path(), home.path(), examples.path()), documents.path());
  EXPECT_EQ(SaveFolder("", documents.path() + "/gone", home.path(), ""), home.path());
  EXPECT_EQ(SaveFolder(examples.path(), documents.path(), home.path(), examples.path() + "/"),
            documents.path());
  EXPECT_EQ(SaveFolder(home.path(), documents.path(), home.path(), examples.path()), home.path());
}

TEST(JapaneseQtTexts, QtsOwnButtonsAndDialogsSpeakJapaneseWhileTheyLive) {
  const auto yes = [] {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes);
    return box.button(QMessageBox::Yes)->text();
  };
  const QString english = yes();
  {
    const JapaneseQtTexts japanese(*qApp);
    ASSERT_TRUE(japanese.loaded()) << "Qt's Japanese texts (qt6-translations-l10n) are missing";
    EXPECT_TRUE(yes().contains(QStringLiteral("はい"))) << yes().toStdString();
  }
  EXPECT_EQ(yes(), english);
}

// Counts the paints the progress bar gets.
class PaintCounter final : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && qobject_cast<QProgressBar*>(watched) != nullptr) ++paints;
    return false;
  }
};

TEST(RunTransferWithProgress, ShowsAndPaintsTheBarAfterEachBlockWhileNothingElseRuns) {
  QWidget owner;
  owner.show();
  // A timer like playback's or the live readings', due while the write is going on.
  bool timerRan = false;
  QTimer::singleShot(1, &owner, [&] { timerRan = true; });
  PaintCounter counter;
  qApp->installEventFilter(&counter);
  std::vector<int> shownValues, paintsSeen;
  const bool written = RunTransferWithProgress(&owner, [&](const BlockDone& done) {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return false;
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("データ転送中"));
    EXPECT_EQ(dialog->parentWidget(), &owner);
    EXPECT_EQ(dialog->findChild<QLabel*>()->text(),
              QStringLiteral("データをマイコンに転送しています。　　"));
    auto* bar = dialog->findChild<QProgressBar*>(QStringLiteral("1000"));
    EXPECT_EQ(bar->maximum(), 7);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    for (int block = 0; block < 8; ++block) {
      done(block);
      shownValues.push_back(bar->value());
      paintsSeen.push_back(counter.paints);
      // Neither Escape nor the close box ends the transfer half-way.
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(dialog, &escape);
      dialog->close();
      EXPECT_TRUE(dialog->isVisible());
    }
    EXPECT_FALSE(timerRan) << "a timer due before the write ran in the middle of it";
    return true;
  });
  qApp->removeEventFilter(&counter);
  EXPECT_TRUE(written);
  EXPECT_EQ(shownValues, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  for (size_t i = 1; i < paintsSeen.size(); ++i) EXPECT_GT(paintsSeen[i], paintsSeen[i - 1]);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_FALSE(RunTransferWithProgress(nullptr, [](const BlockDone&) { return false; }));
}

}  // namespace
}  // namespace pendra2::ui
