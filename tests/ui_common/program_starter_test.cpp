#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ui_common/program_starter.h"

namespace pendra2::ui {
namespace {

// Puts a fake program into `folder`, with or without the execute permission.
QString AddProgram(const QTemporaryDir& folder, const QString& name, bool executable = true) {
  QFile file(QDir(folder.path()).filePath(name));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("#!/bin/sh\n");
  file.close();
  file.setPermissions(executable ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner);
  return file.fileName();
}

TEST(LocateProgram, LooksInTheOwnFolderThenAlongThePathInOrderAndTakesOnlyBareNames) {
  QTemporaryDir own, first, second;
  const QString stepcraft = AddProgram(own, QStringLiteral("Stepcraft"));
  AddProgram(own, QStringLiteral("Chimecraft"), /*executable=*/false);
  const QString chimecraft = AddProgram(first, QStringLiteral("Chimecraft"));
  const QString pendra = AddProgram(second, QStringLiteral("Pendra2"));
  AddProgram(first, QStringLiteral("Stepcraft"));
  AddProgram(second, QStringLiteral("Chimecraft"));
  const auto Locate = [&](const QString& name) {
    return LocateProgram(name, own.path(), {first.path(), second.path()});
  };
  EXPECT_EQ(Locate(QStringLiteral("Stepcraft")), stepcraft);
  EXPECT_EQ(Locate(QStringLiteral("Chimecraft")), chimecraft);
  EXPECT_EQ(Locate(QStringLiteral("Pendra2")), pendra);
  EXPECT_FALSE(Locate(QStringLiteral("Melody")));
  EXPECT_FALSE(LocateProgram(QStringLiteral("Stepcraft"), QString(), {}));
  for (const QString& name : {QStringLiteral("../Stepcraft"), QStringLiteral("..\\Stepcraft"),
                              own.path() + QStringLiteral("/Stepcraft"), QString()})
    EXPECT_FALSE(Locate(name)) << name.toStdString();
  // Empty entries of PATH are no folder to look in.
  EXPECT_EQ(SplitSearchPath(QStringLiteral("/a::/b:")), (QStringList{"/a", "/b"}));
}

TEST(DetachedStarter, HandsTheFoundPathToTheLaunchAndReportsItsResult) {
  QTemporaryDir own;
  const QString pendra = AddProgram(own, QStringLiteral("Pendra2"));
  QStringList launched;
  bool launchWorks = true;
  DetachedStarter starter(own.path(), {}, [&](const QString& path) {
    launched.push_back(path);
    return launchWorks;
  });
  EXPECT_TRUE(starter.StartProgram(QStringLiteral("Pendra2")));
  launchWorks = false;
  EXPECT_FALSE(starter.StartProgram(QStringLiteral("Pendra2")));
  EXPECT_FALSE(starter.StartProgram(QStringLiteral("Stepcraft")));  // never reaches the launch
  EXPECT_EQ(launched, (QStringList{pendra, pendra}));
}

}  // namespace
}  // namespace pendra2::ui
