// Chimecraft's recorded sessions, replayed by the real program against a virtual board:
// the transcript, and what reached the board and the disk.

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <functional>
#include <string>
#include <vector>

#include "melody/score.h"
#include "melody/tune_file.h"
#include "support/board_process.h"

namespace pendra2::melody_ui {
namespace {

QString ScriptDir() {
  return QString::fromLocal8Bit(qgetenv("PENDRA2_SOURCE_DIR")) + "/tests/melody_ui/replay/";
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Outcome {
  int status = -1;
  QByteArray out;
  QByteArray err;
};

// Runs Chimecraft --replay SCRIPT in `folder`, where relative file names land.
Outcome Replay(const test::BoardProcess& board, const QString& script, const QString& folder) {
  QProcess chime;
  chime.setWorkingDirectory(folder);
  QStringList env = QProcess::systemEnvironment();
  env << "PENDRA2_VIRTUAL_BOARDS=" + board.name() << "QT_QPA_PLATFORM=offscreen";
  chime.setEnvironment(env);
  chime.start(test::BinPath("Chimecraft"), {"--replay", script});
  Outcome run;
  if (!chime.waitForFinished(60000)) {
    chime.kill();
    chime.waitForFinished(3000);
    return run;
  }
  run.status = chime.exitStatus() == QProcess::NormalExit ? chime.exitCode() : -1;
  run.out = chime.readAllStandardOutput();
  run.err = chime.readAllStandardError();
  return run;
}

// The PlayNote arguments and the image block bytes the board received, in order.
struct BoardTraffic {
  std::vector<int> notes;
  std::vector<uint8_t> image;
};

BoardTraffic TrafficOf(const QStringList& log) {
  BoardTraffic traffic;
  for (const QString& line : log) {
    const QByteArray report = QByteArray::fromHex(line.toLatin1());
    if (report.size() < 65) continue;
    if (report[1] == 'P') traffic.notes.push_back(static_cast<uint8_t>(report[2]));
  }
  // The eight blocks follow the 'S' request.
  for (qsizetype i = 0; i < log.size(); ++i) {
    if (QByteArray::fromHex(log[i].toLatin1())[1] != 'S') continue;
    for (qsizetype b = i + 1; b < i + 9 && b < log.size(); ++b) {
      const QByteArray block = QByteArray::fromHex(log[b].toLatin1());
      for (qsizetype k = 1; k <= 64; ++k) traffic.image.push_back(static_cast<uint8_t>(block[k]));
    }
  }
  return traffic;
}

std::vector<int> Cells(const QByteArray& olg, int count) {
  std::vector<int> cells;
  for (int i = 0; i < count; ++i) cells.push_back(static_cast<uint8_t>(olg.at(66 + i)));
  return cells;
}

void WriteLoopedTune(const QString& path) {
  melody::Score score;
  for (int i = 0; i < 20; ++i) score.cells[static_cast<std::size_t>(i)] = 3;
  const uint8_t loop[] = {'l', 1, 5, 'L', 0, 0, 22, 7};
  std::copy(std::begin(loop), std::end(loop), score.cells.begin() + 20);
  melody::TuneHeader header{};
  ASSERT_TRUE(melody::SaveTune(score, header, path.toStdString()).ok);
}

struct Case {
  const char* script;
  std::function<void(const QDir& folder, const BoardTraffic& board)> check;
};

TEST(ChimecraftReplay, Sessions) {
  const Case cases[] = {
      {"enter_play_transfer",
       [](const QDir&, const BoardTraffic& board) {
         // Four entry blips, then the whole tune with its loop, the end mark and silence.
         EXPECT_EQ(board.notes,
                   (std::vector<int>{0, 23, 2, 23, 4, 23, 5, 23, 0, 2, 2, 2, 4, 5, 24, 23}));
         const std::vector<uint8_t> head(board.image.begin(), board.image.begin() + 14);
         EXPECT_EQ(head, (std::vector<uint8_t>{'T', 1, 0, 'l', 2, 2, 'L', 0, 0, 3, 4, 5, 24, 'E'}));
       }},
      {"save_reload_print",
       [](const QDir& folder, const BoardTraffic&) {
         const QByteArray olg = ReadAll(folder.filePath("melody.olg"));
         ASSERT_EQ(olg.size(), 576);
         EXPECT_EQ(Cells(olg, 3), (std::vector<int>{1, 3, 24}));
         EXPECT_EQ(olg.at(24), 4);  // the tempo chosen
         EXPECT_TRUE(ReadAll(folder.filePath("melody.pdf")).startsWith("%PDF"));
       }},
      {"insert_delete",
       [](const QDir& folder, const BoardTraffic&) {
         EXPECT_EQ(Cells(ReadAll(folder.filePath("columns.olg")), 8),
                   (std::vector<int>{1, 23, 23, 2, 3, 4, 24, 255}));
       }},
      {"save_changes",
       [](const QDir& folder, const BoardTraffic&) {
         EXPECT_EQ(Cells(ReadAll(folder.filePath("kept.olg")), 2), (std::vector<int>{0, 24}));
         EXPECT_FALSE(folder.exists("no"));
       }},
      {"loops_and_scrolling",
       [](const QDir& folder, const BoardTraffic&) {
         const std::vector<int> kept = Cells(ReadAll(folder.filePath("unlooped.olg")), 24);
         EXPECT_EQ(std::vector<int>(kept.begin() + 19, kept.end()),
                   (std::vector<int>{3, 5, 7, 24, 255}));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    test::BoardProcess board;
    ASSERT_TRUE(board.ready()) << board.Trouble();
    const QDir folder(board.TempFile(QString()));
    WriteLoopedTune(folder.filePath("looped.olg"));
    const QString script = ScriptDir() + c.script;
    const Outcome run = Replay(board, script + ".replay", folder.path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), ReadAll(script + ".out").toStdString());
    c.check(folder, TrafficOf(board.Log()));
  }
}

TEST(ChimecraftReplay, ExitStatuses) {
  struct Bad {
    const char* text;
    int status;
  };
  const Bad cases[] = {
      {"click 1\n", 2},                                         // a line not understood
      {"dialog 185\nend ok\ncommand 2013\nclick 92 100\n", 3},  // another dialog opened
      {"command 4242\n", 3},                                    // no window has that command
  };
  test::BoardProcess board;
  ASSERT_TRUE(board.ready()) << board.Trouble();
  for (const Bad& c : cases) {
    const QString path = board.TempFile("bad.replay");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(c.text);
    f.close();
    const Outcome run = Replay(board, path, board.TempFile(QString()));
    EXPECT_EQ(run.status, c.status) << c.text << run.err.toStdString();
  }
  const Outcome missing = Replay(board, board.TempFile("none.replay"), board.TempFile(QString()));
  EXPECT_EQ(missing.status, 2);
}

}  // namespace
}  // namespace pendra2::melody_ui
