// pendra2-cli against the real pendra2-virtual-board process, read back from the board's
// report log: a playback stopped by Ctrl+C, and many programs writing and reading one board
// at once. Every process started here is ended before its test ends.

#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <QThread>
#include <memory>

#include "melody/helpers.h"
#include "melody/melody_state.h"
#include "melody/tune_image.h"
#include "support/board_process.h"

namespace pendra2 {
namespace {

using melody::testing::TuneFile;

class CliOnTheBoard : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(board_.ready()) << board_.Trouble(); }
  void TearDown() override {
    cli_.kill();
    cli_.waitForFinished(5000);
  }
  QString Save(const std::vector<uint8_t>& bytes, const QString& name = "t.olg") {
    const QString path = board_.TempFile(name);
    melody::testing::WriteBytes(path.toStdString(), bytes);
    return path;
  }
  // pendra2-cli on this board; the lock files go into the board's folder, which goes with
  // the test.
  void Start(QProcess& cli, const QStringList& args) {
    cli.setEnvironment(QProcess::systemEnvironment() << "PENDRA2_VIRTUAL_BOARDS=" + board_.name()
                                                     << "XDG_RUNTIME_DIR=" + board_.TempFile(""));
    cli.start(test::BinPath("pendra2-cli"), args);
  }
  // PlayNote requests (byte 1 "50") as their note codes.
  std::vector<int> Notes() const {
    std::vector<int> notes;
    for (const QString& line : board_.Log())
      if (line.mid(2, 2) == "50") notes.push_back(line.mid(4, 2).toInt(nullptr, 16));
    return notes;
  }
  // PlayNote has no reply, so the CLI may end before the board has logged its last note.
  std::vector<int> NotesEndingInSilence() const {
    for (int i = 0; i < 100 && (Notes().empty() || Notes().back() != 23); ++i) QThread::msleep(20);
    return Notes();
  }

  test::BoardProcess board_{{"--input1", "111", "--input2", "222", "--input3", "333"}};
  QProcess cli_;
};

TEST_F(CliOnTheBoard, CtrlCStopsPlaybackWithSilence) {
  // Half a second per column: still playing when the interrupt comes.
  Start(cli_, {"play", Save(TuneFile({5, 6, 7, 8, 9}, 0, 121)), "--loop"});
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

// The image the board must receive for a tune file, block by block as the log shows them.
QStringList ImageBlocks(const std::vector<uint8_t>& file) {
  melody::MelodyState state;
  melody::LoadTuneBytes(state.score, state.header, file);
  melody::Normalise(state.score);
  const auto image = melody::TuneImage(state.score);
  QStringList blocks;
  for (int b = 0; b < 8; ++b) {
    const QByteArray bytes(reinterpret_cast<const char*>(image.data()) + std::ptrdiff_t{64} * b,
                           64);
    blocks << "00" + QString::fromLatin1(bytes.toHex());
  }
  return blocks;
}

// Each image write keeps the board to itself from BeginImageWrite to its last block, and
// every reply reaches the program that asked for it.
TEST_F(CliOnTheBoard, ConcurrentProgramsTakeTurnsAndNeverReadEachOthersReplies) {
  const std::vector<uint8_t> tunes[] = {TuneFile({0, 4, 7, 12, 23, 22}, 6, 30),
                                        TuneFile({5, 6, 7, 8, 9, 10, 11}, 4)};
  const QString files[] = {Save(tunes[0], "t0.olg"), Save(tunes[1], "t1.olg")};
  struct Cli {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    QString expected;  // the output of a reader; empty for a writer
  };
  std::vector<Cli> clis(14);
  for (int i = 0; i < 8; ++i) Start(*clis[i].process, {"write", files[i % 2]});
  for (int i = 8; i < 14; ++i) {
    const int input = i % 3 + 1;
    Start(*clis[i].process, {"read-input", QString::number(input), "--watch", "--count", "15"});
    clis[i].expected = QString("%1\n").arg(111 * input).repeated(15);
  }
  for (auto& c : clis) {
    const bool finished = c.process->waitForFinished(30000);
    if (!finished) {
      c.process->kill();
      c.process->waitForFinished(5000);
    }
    EXPECT_TRUE(finished);
    EXPECT_EQ(c.process->exitCode(), 0) << c.process->readAllStandardError().toStdString();
    if (!c.expected.isEmpty()) {
      EXPECT_EQ(QString(c.process->readAllStandardOutput()), c.expected);
    }
  }

  // Eight writes, each a whole image of one tune, nothing else between its reports.
  const QStringList images[] = {ImageBlocks(tunes[0]), ImageBlocks(tunes[1])};
  // Block 0 carries 'T', the tempo byte, the columns, the end mark and 'E'; the rest is empty.
  ASSERT_EQ(images[0][0].left(22), "00541e0004070c17161845");
  EXPECT_EQ(images[0][7], "00" + QString(128, 'f'));
  const QStringList log = board_.Log();
  int writes = 0;
  for (int i = 0; i < log.size(); ++i) {
    if (log[i].mid(2, 4) != "5300") continue;
    ASSERT_LE(i + 8, log.size() - 1);
    const QStringList blocks = log.mid(i + 1, 8);
    EXPECT_TRUE(blocks == images[0] || blocks == images[1]) << "write " << writes;
    ++writes;
    i += 8;
  }
  EXPECT_EQ(writes, 8);
}

}  // namespace
}  // namespace pendra2
