#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include "ui_common/file_chooser.h"

namespace pendra2::ui {
namespace {

using interaction::FileDialogKind;

TEST(FileFilter, AddsThePatternOnlyWhenTheNameLacksIt) {
  EXPECT_EQ(FileFilter({FileDialogKind::Open, "", "flowchart FILE (*.flc)", "*.flc", "flc"}),
            QStringLiteral("flowchart FILE (*.flc)"));
  EXPECT_EQ(FileFilter({FileDialogKind::Open, "", "orgel FILE", "*.olg", "olg"}),
            QStringLiteral("orgel FILE (*.olg)"));
}

TEST(QtFileChooser, ShowsTheRequestAndReturnsThePathChosenOrNothing) {
  QTemporaryDir folder;
  QWidget owner;
  QtFileChooser chooser(&owner);
  const interaction::FileRequest save{FileDialogKind::Save, "アクティビティ図ファイル保存",
                                      "flowchart FILE (*.flc)", "*.flc", "flc"};
  const QString typed = QDir(folder.path()).filePath(QStringLiteral("prog"));
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("アクティビティ図ファイル保存"));
    EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("flowchart FILE (*.flc)")});
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("flc"));
    EXPECT_EQ(dialog->parentWidget(), &owner);
    dialog->selectFile(typed);
    static_cast<QDialog*>(dialog)->accept();  // as the OK button does
  });
  EXPECT_EQ(chooser.Choose(save), typed.toStdString() + ".flc");

  // The next dialog opens in the folder of the last choice; cancelling gives nothing.
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog->directory().absolutePath(), QDir(folder.path()).absolutePath());
    dialog->reject();
  });
  EXPECT_FALSE(chooser.Choose({FileDialogKind::Open, "アクティビティ図ファイル読込み",
                               "flowchart FILE (*.flc)", "*.flc", "flc"}));
}

}  // namespace
}  // namespace pendra2::ui
