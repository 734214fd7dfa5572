// pendra2-cli play and write against the real pendra2-virtual-board process, read back from
// the board's report log. Every process started here is ended before its test ends.

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "tune_files.h"

namespace pendra2 {
namespace {

QString Bin(const char* name) {
  const char* dir = std::getenv("PENDRA2_BIN_DIR");
  return QString::fromUtf8(dir ? dir : "build/bin") + '/' + QString::fromUtf8(name);
}

class TuneOnTheBoard : public ::testing::Test {
 protected:
  void SetUp() override {
    board_.start(Bin("pendra2-virtual-board"), {"--name", name_, "--log", dir_.filePath("log")});
    ASSERT_TRUE(board_.waitForStarted(5000) && board_.waitForReadyRead(5000));
    cli_.setEnvironment(QProcess::systemEnvironment() << "PENDRA2_VIRTUAL_BOARDS=" + name_);
  }
  void TearDown() override {
    for (QProcess* p : {&cli_, &board_}) {
      p->kill();
      p->waitForFinished(5000);
    }
  }
  QString Save(const std::vector<uint8_t>& bytes) {
    cli::testing::Write(dir_.filePath("t.olg").toStdString(), bytes);
    return dir_.filePath("t.olg");
  }
  int RunCli(const QStringList& args) {
    cli_.start(Bin("pendra2-cli"), args);
    return cli_.waitForFinished(20000) ? cli_.exitCode() : -1;
  }
  // Reports received, as hex: byte 1 the request ("50" for PlayNote), byte 2 its argument.
  QStringList Log() const {
    QFile f(dir_.filePath("log"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(f.readAll()).split('\n', Qt::SkipEmptyParts);
  }
  std::vector<int> Notes() const {
    std::vector<int> notes;
    for (const QString& line : Log())
      if (line.mid(2, 2) == "50") notes.push_back(line.mid(4, 2).toInt(nullptr, 16));
    return notes;
  }

  QTemporaryDir dir_;
  const QString name_ = QStringLiteral("pendra2-tune-test-%1-%2")
                            .arg(QCoreApplication::applicationPid())
                            .arg(::testing::UnitTest::GetInstance()->current_test_info()->name());
  QProcess board_, cli_;
};

TEST_F(TuneOnTheBoard, PlaySendsEachNoteAndEndsWithSilence) {
  EXPECT_EQ(RunCli({"play", Save(cli::testing::TuneFile(cli::testing::kLoopTune, 12, 1))}), 0);
  EXPECT_EQ(Notes(), (std::vector<int>{0, 2, 2, 2, 4, 24, 23}));
}

TEST_F(TuneOnTheBoard, CtrlCStopsPlaybackWithSilence) {
  // Half a second per column: still playing when the interrupt comes.
  cli_.start(Bin("pendra2-cli"),
             {"play", Save(cli::testing::TuneFile({5, 6, 7, 8, 9}, 0, 121)), "--loop"});
  ASSERT_TRUE(cli_.waitForStarted(5000));
  // Interrupt once the first note has reached the board: the handler is in place by then.
  for (int i = 0; i < 250 && Notes().empty(); ++i) QThread::msleep(20);
  ::kill(static_cast<pid_t>(cli_.processId()), SIGINT);
  ASSERT_TRUE(cli_.waitForFinished(5000));
  EXPECT_EQ(cli_.exitCode(), 0);
  const auto notes = Notes();
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

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
