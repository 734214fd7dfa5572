// Chimecraft's recorded sessions, replayed by the real program against a virtual board:
// the transcript, and what reached the board and the disk.

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <functional>
#include <string>
#include <vector>

#include "melody/helpers.h"
#include "melody/smf_bytes.h"
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
  for (qsizetype i = 0; i < log.size(); ++i) {
    const QByteArray report = QByteArray::fromHex(log[i].toLatin1());
    if (report.size() < 65) continue;
    if (report[1] == 'P') traffic.notes.push_back(static_cast<uint8_t>(report[2]));
    if (report[1] != 'S') continue;
    // The eight blocks follow the 'S' request.
    for (const QString& block : log.mid(i + 1, 8)) {
      const QByteArray bytes = QByteArray::fromHex(block.toLatin1()).mid(1, 64);
      traffic.image.insert(traffic.image.end(), bytes.begin(), bytes.end());
    }
  }
  return traffic;
}

std::vector<int> Cells(const QByteArray& olg, int count) {
  std::vector<int> cells;
  for (int i = 0; i < count; ++i) cells.push_back(static_cast<uint8_t>(olg.at(66 + i)));
  return cells;
}

// A melody an octave under the score's range (track 2), a bass (track 3), the drums.
melody::testing::SmfBytes SongFile() {
  return melody::testing::ThreePartSong();
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
      {"midi_import_export",
       [](const QDir& folder, const BoardTraffic&) {
         EXPECT_EQ(Cells(ReadAll(folder.filePath("imported.olg")), 5),
                   (std::vector<int>{1, 3, 23, 5, 24}));
         EXPECT_TRUE(ReadAll(folder.filePath("imported.mid")).startsWith("MThd"));
         EXPECT_TRUE(ReadAll(folder.filePath("imported.wav")).startsWith("RIFF"));
       }},
      {"edit_menu",
       [](const QDir& folder, const BoardTraffic&) {
         // The pasted loop returns to its own start; the loop removed is back.
         EXPECT_EQ(
             Cells(ReadAll(folder.filePath("edited.olg")), 18),
             (std::vector<int>{0, 'l', 2, 2, 4, 'L', 0, 0, 3, 'l', 2, 2, 4, 'L', 0, 0, 11, 24}));
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
    std::vector<int> looped(20, 3);  // a loop around one note from column 21 on
    looped.insert(looped.end(), {'l', 1, 5, 'L', 0, 0, 22, 7});
    melody::testing::WriteBytes(folder.filePath("looped.olg").toStdString(),
                                melody::testing::TuneFile(looped));
    melody::testing::WriteBytes(folder.filePath("song.mid").toStdString(), SongFile());
    melody::testing::WriteBytes(folder.filePath("bad.mid").toStdString(), {'M', 'T', 'h', 'd'});
    const QString script = ScriptDir() + c.script;
    const Outcome run = Replay(board, script + ".replay", folder.path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), ReadAll(script + ".out").toStdString());
    c.check(folder, TrafficOf(board.Log()));
  }
}

TEST(ChimecraftReplay, ExitStatuses) {
  const std::pair<const char*, int> cases[] = {
      {"click 1\n", 2},                                         // a line not understood
      {"dialog 185\nend ok\ncommand 2013\nclick 92 100\n", 3},  // another dialog opened
      {"command 4242\n", 3},                                    // no window has that command
      {nullptr, 2},                                             // no script at all
  };
  test::BoardProcess board;
  ASSERT_TRUE(board.ready()) << board.Trouble();
  const QString path = board.TempFile("bad.replay");
  for (const auto& [text, status] : cases) {
    QFile f(path);
    if (text) {
      ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write(text);
      f.close();
    } else {
      f.remove();
    }
    const Outcome run = Replay(board, path, board.TempFile(QString()));
    EXPECT_EQ(run.status, status) << (text ? text : "none") << run.err.toStdString();
  }
}

}  // namespace
}  // namespace pendra2::melody_ui
