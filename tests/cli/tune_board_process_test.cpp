// pendra2-cli play and write against the real pendra2-virtual-board process, read back from
// the board's report log. Every process started here is ended before its test ends.

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QProcess>
#include <QThread>

#include "support/board_process.h"
#include "tune_files.h"

namespace pendra2 {
namespace {

class TuneOnTheBoard : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(board_.ready()) << board_.Trouble();
    cli_.setEnvironment(QProcess::systemEnvironment() << "PENDRA2_VIRTUAL_BOARDS=" + board_.name());
  }
  void TearDown() override {
    cli_.kill();
    cli_.waitForFinished(5000);
  }
  QString Save(const std::vector<uint8_t>& bytes) {
    const QString path = board_.TempFile("t.olg");
    cli::testing::Write(path.toStdString(), bytes);
    return path;
  }
  int RunCli(const QStringList& args) {
    cli_.start(test::BinPath("pendra2-cli"), args);
    return cli_.waitForFinished(20000) ? cli_.exitCode() : -1;
  }
  QStringList Log() const { return board_.Log(); }
  // PlayNote requests (byte 1 "50") as their note codes.
  std::vector<int> Notes() const {
    std::vector<int> notes;
    for (const QString& line : Log())
      if (line.mid(2, 2) == "50") notes.push_back(line.mid(4, 2).toInt(nullptr, 16));
    return notes;
  }
  // PlayNote has no reply, so the CLI may end before the board has logged its last note.
  std::vector<int> NotesEndingInSilence() const {
    for (int i = 0; i < 100 && (Notes().empty() || Notes().back() != 23); ++i) QThread::msleep(20);
    return Notes();
  }

  test::BoardProcess board_;
  QProcess cli_;
};

TEST_F(TuneOnTheBoard, PlaySendsEachNoteAndEndsWithSilence) {
  EXPECT_EQ(RunCli({"play", Save(cli::testing::TuneFile(cli::testing::kLoopTune, 12, 1))}), 0);
  EXPECT_EQ(NotesEndingInSilence(), (std::vector<int>{0, 2, 2, 2, 4, 24, 23}));
}

TEST_F(TuneOnTheBoard, CtrlCStopsPlaybackWithSilence) {
  // Half a second per column: still playing when the interrupt comes.
  cli_.start(test::BinPath("pendra2-cli"),
             {"play", Save(cli::testing::TuneFile({5, 6, 7, 8, 9}, 0, 121)), "--loop"});
  ASSERT_TRUE(cli_.waitForStarted(5000));
  // Interrupt once the first note has reached the board: the handler is in place by then.
  for (int i = 0; i < 250 && Notes().empty(); ++i) QThread::msleep(20);
  ::kill(static_cast<pid_t>(cli_.processId()), SIGINT);
  ASSERT_TRUE(cli_.waitForFinished(5000));
  EXPECT_EQ(cli_.exitCode(), 130);
  const auto notes = NotesEndingInSilence();
  ASSERT_GE(notes.size(), 2u);
  EXPECT_EQ(notes.front(), 5);
  EXPECT_EQ(notes.back(), 23);
}

TEST_F(TuneOnTheBoard, WriteSendsTheTuneImage) {
  EXPECT_EQ(RunCli({"write", Save(cli::testing::TuneFile({0, 4, 7, 12, 23, 22}, 6, 30))}), 0);
  const QStringList log = Log();
  ASSERT_EQ(log.size(), 9);
  EXPECT_EQ(log[0].mid(2, 4), "5300");
  // Block 0 carries 'T', the tempo byte, the columns, the end mark and 'E'.
  EXPECT_EQ(log[1].left(22), "00541e0004070c17161845");
  for (int b = 1; b < 8; ++b) EXPECT_EQ(log[1 + b], "00" + QString(128, 'f')) << b;
}

}  // namespace
}  // namespace pendra2
