// pendra2-cli play and write against the real pendra2-virtual-board process, read back from
// the board's report log. Every process started here is ended before its test ends.

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "melody/score.h"
#include "melody/tune_image.h"
#include "support/board_process.h"
#include "tune_files.h"

namespace pendra2 {
namespace {

QString Bin(const char* name) {
  const char* dir = std::getenv("PENDRA2_BIN_DIR");
  return QString::fromUtf8(dir ? dir : "build/bin") + '/' + QString::fromUtf8(name);
}

using VirtualBoard = test::BoardProcess;

void StartCli(QProcess& cli, const QString& board, const QStringList& args) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("PENDRA2_VIRTUAL_BOARDS"), board);
  cli.setProcessEnvironment(env);
  cli.start(Bin("pendra2-cli"), args);
}

int RunCli(const QString& board, const QStringList& args) {
  QProcess cli;
  StartCli(cli, board, args);
  if (!cli.waitForFinished(20000)) {
    cli.kill();
    cli.waitForFinished();
    return -1;
  }
  return cli.exitCode();
}

// PlayNote requests of the log, as their note codes.
std::vector<int> Notes(const QStringList& log) {
  std::vector<int> notes;
  for (const QString& line : log) {
    if (line.mid(2, 2) == "50") notes.push_back(line.mid(4, 2).toInt(nullptr, 16));
  }
  return notes;
}

QString Save(const VirtualBoard& board, const char* name, const std::vector<uint8_t>& bytes) {
  const QString path = board.TempFile(name);
  cli::testing::Write(path.toStdString(), bytes);
  return path;
}

TEST(TuneOnTheBoard, PlaySendsEachNoteAndEndsWithSilence) {
  VirtualBoard board;
  ASSERT_TRUE(board.ready());
  const QString tune =
      Save(board, "loop.olg", cli::testing::TuneFile(cli::testing::kLoopTune, 12, 1));
  EXPECT_EQ(RunCli(board.name(), {"play", tune}), 0);
  EXPECT_EQ(Notes(board.Log()), (std::vector<int>{0, 2, 2, 2, 4, 24, 23}));
}

TEST(TuneOnTheBoard, CtrlCStopsPlaybackWithSilence) {
  VirtualBoard board;
  ASSERT_TRUE(board.ready());
  // Half a second per column: still playing when the interrupt comes.
  const QString tune = Save(board, "slow.olg", cli::testing::TuneFile({5, 6, 7, 8, 9}, 0, 121));
  QProcess cli;
  StartCli(cli, board.name(), {"play", tune, "--loop"});
  ASSERT_TRUE(cli.waitForStarted(5000));
  // Interrupt once the first note has reached the board: the handler is in place by then.
  for (int i = 0; i < 250 && Notes(board.Log()).empty(); ++i) QThread::msleep(20);
  ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
  const bool ended = cli.waitForFinished(5000);
  if (!ended) cli.kill();
  ASSERT_TRUE(ended);
  EXPECT_EQ(cli.exitCode(), 0);
  const auto notes = Notes(board.Log());
  ASSERT_GE(notes.size(), 2u);
  EXPECT_EQ(notes.front(), 5);
  EXPECT_EQ(notes.back(), 23);
}

TEST(TuneOnTheBoard, WriteSendsTheTuneImage) {
  VirtualBoard board;
  ASSERT_TRUE(board.ready());
  const std::vector<int> columns{0, 4, 7, 12, 23, 22};
  const QString tune = Save(board, "six.olg", cli::testing::TuneFile(columns, 6, 30));
  EXPECT_EQ(RunCli(board.name(), {"write", tune}), 0);
  const QStringList log = board.Log();
  ASSERT_EQ(log.size(), 9);
  EXPECT_EQ(log[0].mid(2, 4), "5300");
  // Block 0 carries 'T', the tempo byte, the columns, the end mark and 'E'.
  EXPECT_EQ(log[1].left(22), "00541e0004070c17161845");
  for (int b = 1; b < 8; ++b) EXPECT_EQ(log[1 + b], "00" + QString(128, 'f')) << b;
}

}  // namespace
}  // namespace pendra2

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
