// The sessions of docs/guide/replays play to their end against a virtual board (offscreen,
// so their pictures are painted rather than read off a screen), take every picture the
// guide shows, and leave the files the guide tells the reader to save.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include "support/board_process.h"

namespace pendra2 {
namespace {

QString SourcePath(const QString& relative) {
  return QString::fromLocal8Bit(qgetenv("PENDRA2_SOURCE_DIR")) + "/" + relative;
}

// Every picture the guide shows, as "images/NAME.png".
QStringList PicturesInGuide(const QString& guide) {
  QFile file(SourcePath("docs/guide/" + guide));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QString text = QString::fromUtf8(file.readAll());
  QStringList names;
  for (const auto& match : QRegularExpression(R"(\(images/([a-z-]+)\.png\))").globalMatch(text))
    names << match.captured(1);
  names.removeDuplicates();
  return names;
}

TEST(GuideReplays, PlayToTheEndAndTakeEveryPictureTheGuideShows) {
  test::BoardProcess board({"--mute"});
  ASSERT_TRUE(board.ready()) << board.Trouble();
  const QDir folder = QFileInfo(board.TempFile("x")).absoluteDir();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("PENDRA2_VIRTUAL_BOARDS", board.name());

  for (const char* program : {"Stepcraft", "Chimecraft"}) {
    SCOPED_TRACE(program);
    QProcess editor;
    editor.setProcessEnvironment(env);
    editor.setWorkingDirectory(folder.path());
    const QString script =
        SourcePath("docs/guide/replays/" + QString(program).toLower() + ".replay");
    editor.start(test::BinPath(program), {"--replay", script});
    ASSERT_TRUE(editor.waitForFinished(60000)) << "did not end";
    EXPECT_EQ(editor.exitCode(), 0) << editor.readAllStandardError().toStdString();
  }
  EXPECT_GT(QFileInfo(folder.filePath("blink.flc")).size(), 0);
  // The tune the guide promises: ド レ ミ twice (one repeat), then ソ ミ レ ド レ ミ レ, as
  // the board and the PC play it (then the end mark and the closing silence).
  QProcess play;
  play.start(test::BinPath("pendra2-cli"), {"play", folder.filePath("tulip.olg"), "--dry-run"});
  ASSERT_TRUE(play.waitForFinished(10000));
  EXPECT_EQ(QString::fromLatin1(play.readAllStandardOutput()).simplified(),
            QStringLiteral("0 2 4 0 2 4 7 4 2 0 2 4 2 24 23"));

  // The launcher and the board's own window are taken by the script, not by a replay.
  const QStringList byScript{"launcher", "virtual-board"};
  for (const char* const guide : {"ja.md", "en.md"}) {
    const QStringList pictures = PicturesInGuide(guide);
    EXPECT_GE(pictures.size(), 12) << guide;
    for (const QString& name : pictures) {
      if (byScript.contains(name)) continue;
      // Pictures of the whole screen are cut to their windows by the script afterwards.
      QString file = folder.filePath(name + ".png");
      if (!QFileInfo::exists(file)) file = folder.filePath(name + "-screen.png");
      EXPECT_FALSE(QImage(file).isNull()) << guide << ": " << name.toStdString();
    }
  }
}

}  // namespace
}  // namespace pendra2
