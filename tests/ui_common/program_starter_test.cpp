#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ui_common/program_starter.h"

namespace pendra2::ui {
namespace {

// A folder holding fake programs: files with or without the execute permission.
class Folder {
 public:
  QString path() const { return dir_.path(); }
  QString Add(const QString& name, bool executable = true) {
    const QString file = QDir(dir_.path()).filePath(name);
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.close();
    QFile::Permissions perms = QFile::ReadOwner | QFile::WriteOwner;
    if (executable) perms |= QFile::ExeOwner;
    f.setPermissions(perms);
    return file;
  }

 private:
  QTemporaryDir dir_;
};

TEST(LocateProgram, OwnFolderComesBeforeThePath) {
  Folder own, onPath;
  const QString mine = own.Add(QStringLiteral("Stepcraft"));
  onPath.Add(QStringLiteral("Stepcraft"));
  EXPECT_EQ(LocateProgram(QStringLiteral("Stepcraft"), own.path(), {onPath.path()}), mine);
}

TEST(LocateProgram, FallsBackToThePathInOrder) {
  Folder own, first, second;
  own.Add(QStringLiteral("Chimecraft"), /*executable=*/false);
  const QString wanted = second.Add(QStringLiteral("Chimecraft"));
  const auto found =
      LocateProgram(QStringLiteral("Chimecraft"), own.path(), {first.path(), second.path()});
  EXPECT_EQ(found, wanted);
}

TEST(LocateProgram, NothingWhenNoFolderHoldsTheProgram) {
  Folder own, onPath;
  onPath.Add(QStringLiteral("Chimecraft"));
  EXPECT_FALSE(LocateProgram(QStringLiteral("Stepcraft"), own.path(), {onPath.path()}));
  EXPECT_FALSE(LocateProgram(QStringLiteral("Stepcraft"), QString(), {}));
}

TEST(LocateProgram, RefusesNamesWithAFolder) {
  Folder own;
  own.Add(QStringLiteral("Stepcraft"));
  EXPECT_FALSE(LocateProgram(QStringLiteral("../Stepcraft"), own.path(), {}));
  EXPECT_FALSE(LocateProgram(own.path() + QStringLiteral("/Stepcraft"), own.path(), {}));
  EXPECT_FALSE(LocateProgram(QString(), own.path(), {}));
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
  DetachedStarter starter(own.path(), {}, [&](const QString& path) {
    launched.push_back(path);
    return launchWorks;
  });

  EXPECT_TRUE(starter.StartProgram(QStringLiteral("Pendra2")));
  EXPECT_EQ(launched, QStringList{pendra});

  launchWorks = false;
  EXPECT_FALSE(starter.StartProgram(QStringLiteral("Pendra2")));

  // A program nobody has is never handed to the launch at all.
  launched.clear();
  EXPECT_FALSE(starter.StartProgram(QStringLiteral("Stepcraft")));
  EXPECT_TRUE(launched.isEmpty());
}

}  // namespace
}  // namespace pendra2::ui
