// Many pendra2-cli processes on one pendra2-virtual-board at once: each image write keeps
// the board to itself from BeginImageWrite to its last block, and every reply reaches the
// program that asked for it. Every process started here is ended before the test ends.

#include <gtest/gtest.h>

#include <QProcess>
#include <memory>
#include <vector>

#include "melody/melody_state.h"
#include "melody/score.h"
#include "melody/tune_image.h"
#include "support/board_process.h"
#include "tune_files.h"

namespace pendra2 {
namespace {

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

TEST(BoardSharing, ConcurrentProgramsTakeTurnsAndNeverReadEachOthersReplies) {
  test::BoardProcess board({"--input1", "111", "--input2", "222", "--input3", "333"});
  ASSERT_TRUE(board.ready()) << board.Trouble();
  const std::vector<uint8_t> tunes[] = {cli::testing::TuneFile({0, 4, 7, 12, 23, 22}),
                                        cli::testing::TuneFile({5, 6, 7, 8, 9, 10, 11}, 4)};
  QStringList files;
  for (int t = 0; t < 2; ++t) {
    files << board.TempFile(QString("t%1.olg").arg(t));
    cli::testing::Write(files.back().toStdString(), tunes[t]);
  }

  struct Cli {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    QString expected;  // the output of a reader; empty for a writer
  };
  std::vector<Cli> clis;
  for (int i = 0; i < 8; ++i) {
    clis.emplace_back().process->setArguments({"write", files[i % 2]});
  }
  for (int i = 0; i < 6; ++i) {
    const int input = i % 3 + 1;
    Cli& reader = clis.emplace_back();
    reader.process->setArguments(
        {"read-input", QString::number(input), "--watch", "--count", "15"});
    reader.expected = QString("%1\n").arg(111 * input).repeated(15);
  }
  for (auto& c : clis) {
    c.process->setProgram(test::BinPath("pendra2-cli"));
    // The lock files go into the board's folder, which goes with the test.
    c.process->setEnvironment(QProcess::systemEnvironment()
                              << "PENDRA2_VIRTUAL_BOARDS=" + board.name()
                              << "XDG_RUNTIME_DIR=" + board.TempFile(""));
    c.process->start();
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
  const QStringList log = board.Log();
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
