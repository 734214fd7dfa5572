#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ui_common/program_starter.h"

namespace pendra2::ui {
namespace {

// A folder of fake programs, with or without the execute permission.
struct Folder {
  QString Add(const QString& name, bool executable = true) {
    QFile file(QDir(dir.path()).filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable) permissions |= QFile::ExeOwner;
    file.setPermissions(permissions);
    return file.fileName();
  }
  QTemporaryDir dir;
};

TEST(LocateProgram, LooksInTheOwnFolderThenAlongThePathInOrder) {
  Folder own, first, second;
  const QString stepcraft = own.Add(QStringLiteral("Stepcraft"));
  own.Add(QStringLiteral("Chimecraft"), /*executable=*/false);
  const QString chimecraft = first.Add(QStringLiteral("Chimecraft"));
  const QString pendra = second.Add(QStringLiteral("Pendra2"));
  for (Folder* onPath : {&first, &second}) {
    onPath->Add(QStringLiteral("Stepcraft"));
    onPath->Add(QStringLiteral("Chimecraft"));
  }
  const QStringList path{first.dir.path(), second.dir.path()};
  const auto Locate = [&](const QString& name) {
    return LocateProgram(name, own.dir.path(), path);
  };
  EXPECT_EQ(Locate(QStringLiteral("Stepcraft")), stepcraft);
  EXPECT_EQ(Locate(QStringLiteral("Chimecraft")), chimecraft);
  EXPECT_EQ(Locate(QStringLiteral("Pendra2")), pendra);
  EXPECT_FALSE(Locate(QStringLiteral("Melody")));
  EXPECT_FALSE(LocateProgram(QStringLiteral("Stepcraft"), QString(), {}));
  // Only bare names: a folder in the name could start anything.
  for (const QString& name : {QStringLiteral("../Stepcraft"), QStringLiteral("..\\Stepcraft"),
                              own.dir.path() + QStringLiteral("/Stepcraft"), QString()})
    EXPECT_FALSE(Locate(name)) << name.toStdString();
}

TEST(SplitSearchPath, DropsEmptyEntries) {
  EXPECT_EQ(SplitSearchPath(QStringLiteral("/a::/b:")), (QStringList{"/a", "/b"}));
  EXPECT_TRUE(SplitSearchPath(QString()).isEmpty());
}

TEST(DetachedStarter, HandsTheFoundPathToTheLaunchAndReportsItsResult) {
  Folder own;
  const QString pendra = own.Add(QStringLiteral("Pendra2"));
  QStringList launched;
  bool launchWorks = true;
  DetachedStarter starter(own.dir.path(), {}, [&](const QString& path) {
    launched.push_back(path);
    return launchWorks;
  });
  EXPECT_TRUE(starter.StartProgram(QStringLiteral("Pendra2")));
  launchWorks = false;
  EXPECT_FALSE(starter.StartProgram(QStringLiteral("Pendra2")));
  // A program nobody has never reaches the launch.
  EXPECT_FALSE(starter.StartProgram(QStringLiteral("Stepcraft")));
  EXPECT_EQ(launched, (QStringList{pendra, pendra}));
}

}  // namespace
}  // namespace pendra2::ui
