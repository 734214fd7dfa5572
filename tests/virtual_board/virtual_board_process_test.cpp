// The real pendra2-virtual-board process with the real pendra2-cli against it. Every board
// gets a name of its own, and every process started here is killed before the test ends.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

#include "device/board.h"
#include "device/virtual_transport.h"
#include "flowchart/flow_file.h"
#include "flowchart/recompute.h"
#include "flowchart/step_code.h"
#include "virtual_board/board_model.h"

namespace pendra2 {
namespace {

// The programs sit in build/bin, beside this test's build/tests.
QString Bin(const char* name) {
  const char* dir = std::getenv("PENDRA2_BIN_DIR");
  const QString bin = dir != nullptr && *dir != '\0'
                          ? QString::fromUtf8(dir)
                          : QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");
  return bin + '/' + QString::fromUtf8(name);
}

QString UniqueName() {
  static int counter = 0;
  return QStringLiteral("pendra2-test-%1-%2")
      .arg(QCoreApplication::applicationPid())
      .arg(++counter);
}

// One board process for the life of a test.
class VirtualBoardProcess {
 public:
  explicit VirtualBoardProcess(QStringList extra, QString name = UniqueName())
      : name_(std::move(name)) {
    logPath_ = dir_.filePath(QStringLiteral("board.log"));
    process_.setProgram(Bin("pendra2-virtual-board"));
    process_.setArguments(QStringList{"--name", name_, "--log", logPath_} + extra);
    process_.start();
    ready_ = process_.waitForStarted(5000) && process_.waitForReadyRead(5000);
  }
  ~VirtualBoardProcess() {
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
      process_.kill();
      process_.waitForFinished(3000);
    }
    QLocalServer::removeServer(name_);
  }
  bool ready() const { return ready_; }
  // Why the board is not ready, for the failure message.
  std::string Trouble() {
    return process_.program().toStdString() + ": " + process_.errorString().toStdString() + " " +
           QString::fromUtf8(process_.readAllStandardError()).toStdString();
  }
  const QString& name() const { return name_; }
  // The report log, one string of 130 hex digits per report.
  QStringList Log() const {
    QFile f(logPath_);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(f.readAll()).split('\n', Qt::SkipEmptyParts);
  }

 private:
  QTemporaryDir dir_;
  QString name_;
  QString logPath_;
  QProcess process_;
  bool ready_ = false;
};

struct CliResult {
  int exitCode = -1;
  QString out;
  QString err;
  qint64 elapsedMs = 0;
};

CliResult Cli(const QString& boards, QStringList args, int timeoutMs = 100) {
  QProcess cli;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("PENDRA2_VIRTUAL_BOARDS"), boards);
  env.insert(QStringLiteral("PENDRA2_REPLY_TIMEOUT_MS"), QString::number(timeoutMs));
  cli.setProcessEnvironment(env);
  QElapsedTimer clock;
  clock.start();
  cli.start(Bin("pendra2-cli"), args);
  CliResult r;
  if (!cli.waitForFinished(20000)) {
    cli.kill();
    cli.waitForFinished();
    return r;
  }
  r.elapsedMs = clock.elapsed();
  r.exitCode = cli.exitCode();
  r.out = QString::fromUtf8(cli.readAllStandardOutput());
  r.err = QString::fromUtf8(cli.readAllStandardError());
  return r;
}

flowchart::StepRecord Step(flowchart::StepKind kind) {
  flowchart::StepRecord s;
  s.kind = static_cast<int32_t>(kind);
  return s;
}

// Start, Output LED on, Wait (halfSeconds), End — saved as a .flc, with its compiled image.
struct FlowFixture {
  std::unique_ptr<flowchart::FlowProgram> program = std::make_unique<flowchart::FlowProgram>();
  QString path;
};

FlowFixture SaveProgram(const QTemporaryDir& dir, int waitHalfSeconds, int waits = 1) {
  FlowFixture f;
  flowchart::FlowProgram& p = *f.program;
  flowchart::NewProgram(p);
  auto out = Step(flowchart::StepKind::Output);
  out.value = 1;
  out.size = 3;
  flowchart::WriteStepCode(out);
  p.steps[1] = out;
  for (int i = 0; i < waits; ++i) {
    auto wait = Step(flowchart::StepKind::Wait);
    wait.value = waitHalfSeconds;
    flowchart::WriteWaitCode(wait);
    p.steps[static_cast<std::size_t>(2 + i)] = wait;
  }
  p.steps[static_cast<std::size_t>(2 + waits)] = Step(flowchart::StepKind::End);
  p.count = 3 + waits;
  flowchart::Recompute(p);
  f.path = dir.filePath(QStringLiteral("program.flc"));
  EXPECT_TRUE(flowchart::SaveFlowFile(p, f.path.toStdString()).ok);
  return f;
}

QString Hex(const device::Report& r) {
  return QString::fromStdString(virtual_board::HexLine(r));
}

TEST(VirtualBoardProcess, CliWritesACompiledProgramIntoTheBoard) {
  QTemporaryDir dir;
  const FlowFixture flow = SaveProgram(dir, 4);
  ASSERT_LT(flow.program->imageSize, 512);
  VirtualBoardProcess board({});
  ASSERT_TRUE(board.ready()) << board.Trouble();

  const CliResult r = Cli(board.name(), {"write", flow.path});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();

  const QStringList log = board.Log();
  ASSERT_EQ(log.size(), 10);
  device::Report expected{};
  expected[1] = 'C';
  EXPECT_EQ(log[0], Hex(expected));
  // The generation check's request leaves nothing behind: 'S' goes out with byte 2 = 0.
  expected[1] = 'S';
  EXPECT_EQ(log[1], Hex(expected));
  for (int b = 0; b < 8; ++b) {
    device::Report block = expected;
    block[0] = 0;
    for (int i = 0; i < 64; ++i) {
      block[static_cast<std::size_t>(1 + i)] =
          flow.program->image[static_cast<std::size_t>(b * 64 + i)];
    }
    EXPECT_EQ(log[2 + b], Hex(block)) << "block " << b;
  }
}

TEST(VirtualBoardProcess, BoardCommandsAnswerAsTheBoardIsSet) {
  VirtualBoardProcess board({"--input2", "258", "--version", "V4.01.00", "--build", "00777"});
  ASSERT_TRUE(board.ready()) << board.Trouble();
  const QString name = board.name();

  CliResult r = Cli(name, {"board-info"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.out.contains("version: V4.01.00")) << r.out.toStdString();
  EXPECT_TRUE(r.out.contains("generation: 4"));
  EXPECT_TRUE(r.out.contains("build: 00777"));

  r = Cli(name, {"read-input", "2"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.trimmed(), "258");

  EXPECT_EQ(Cli(name, {"auto", "status"}).out.trimmed(), "off");
  EXPECT_EQ(Cli(name, {"auto", "on"}).exitCode, 0);
  EXPECT_EQ(Cli(name, {"auto", "status"}).out.trimmed(), "on");
  EXPECT_EQ(Cli(name, {"run"}).exitCode, 0);
  EXPECT_EQ(Cli(name, {"note", "23"}).exitCode, 0);
  EXPECT_EQ(Cli(name, {"note", "25"}).exitCode, 1);
  EXPECT_EQ(Cli(name, {"read-input", "4"}).exitCode, 1);
}

TEST(VirtualBoardProcess, FirstListedServedBoardIsUsed) {
  VirtualBoardProcess first({"--build", "11111"});
  VirtualBoardProcess second({"--build", "22222"});
  ASSERT_TRUE(first.ready() && second.ready());
  const QString list = UniqueName() + "," + second.name() + "," + first.name();
  const CliResult r = Cli(list, {"board-info"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.out.contains("build: 22222")) << r.out.toStdString();
  EXPECT_TRUE(first.Log().isEmpty());

  const CliResult listing = Cli(list, {"boards"});
  EXPECT_EQ(listing.exitCode, 0);
  EXPECT_EQ(listing.out.count('\n'), 2);
}

TEST(VirtualBoardProcess, ForeignIdentifiersAndUnservedNamesAreNoBoard) {
  VirtualBoardProcess foreign({"--vid", "04D8", "--pid", "1001"});
  ASSERT_TRUE(foreign.ready());
  CliResult r = Cli(foreign.name(), {"run"});
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_TRUE(foreign.Log().isEmpty());
  r = Cli(UniqueName(), {"board-info"});
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_FALSE(r.err.isEmpty());
}

TEST(VirtualBoardProcess, SilentBoardTimesOutInsteadOfHanging) {
  QTemporaryDir dir;
  const FlowFixture flow = SaveProgram(dir, 4);
  VirtualBoardProcess board({"--no-reply"});
  ASSERT_TRUE(board.ready()) << board.Trouble();
  CliResult r = Cli(board.name(), {"board-info"}, 150);
  EXPECT_EQ(r.exitCode, 5);
  EXPECT_LT(r.elapsedMs, 5000);
  r = Cli(board.name(), {"write", flow.path}, 150);
  EXPECT_EQ(r.exitCode, 5);
  EXPECT_LT(r.elapsedMs, 5000);
}

TEST(VirtualBoardProcess, TransferGuardsSendNothingOrOnlyTheInfoQuery) {
  QTemporaryDir dir;
  const FlowFixture large = SaveProgram(dir, 300, 2);
  ASSERT_GT(large.program->imageSize, 511);
  VirtualBoardProcess board({});
  ASSERT_TRUE(board.ready()) << board.Trouble();
  CliResult r = Cli(board.name(), {"write", large.path});
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_TRUE(
      r.err.contains(QString::fromUtf8("データが５１２バイトを越しているので転送できません。")));
  EXPECT_TRUE(board.Log().isEmpty());

  QTemporaryDir dir2;
  const FlowFixture small = SaveProgram(dir2, 2);
  VirtualBoardProcess old({"--version", "V2.10.00"});
  ASSERT_TRUE(old.ready());
  r = Cli(old.name(), {"write", small.path});
  EXPECT_EQ(r.exitCode, 5);
  EXPECT_TRUE(r.err.contains(QString::fromUtf8("新しいバージョンのPendra専用です")));
  EXPECT_EQ(old.Log().size(), 1);

  r = Cli(old.name(), {"write", dir.filePath("missing.flc")});
  EXPECT_EQ(r.exitCode, 2);
}

TEST(VirtualBoardProcess, SecondBoardUnderATakenNameIsRefused) {
  VirtualBoardProcess board({});
  ASSERT_TRUE(board.ready()) << board.Trouble();
  QProcess again;
  again.start(Bin("pendra2-virtual-board"), {"--name", board.name()});
  ASSERT_TRUE(again.waitForFinished(5000));
  EXPECT_NE(again.exitCode(), 0);
  EXPECT_EQ(Cli(board.name(), {"auto", "status"}).exitCode, 0);
}

// The transport in this process, against the served board.
TEST(VirtualBoardProcess, VirtualTransportCarriesTheImageWrite) {
  VirtualBoardProcess board({});
  ASSERT_TRUE(board.ready()) << board.Trouble();
  device::VirtualTransport transport({board.name().toStdString()});
  device::Board link(transport, 1000);
  ASSERT_EQ(link.FindBoard(), device::kBoardFound);
  device::Image image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i % 251);
  int blocks = 0;
  EXPECT_TRUE(link.WriteImage(image, [&](int) { ++blocks; }));
  EXPECT_EQ(blocks, 8);
  EXPECT_EQ(board.Log().size(), 9);
  // Many rediscoveries leave one pair of channels open, not hundreds.
  for (int i = 0; i < 50; ++i) ASSERT_EQ(link.FindBoard(), device::kBoardFound);
  EXPECT_TRUE(link.ReadInput(1));
}

TEST(VirtualTransportNames, ListIsSplitAtCommasInOrder) {
  using V = device::VirtualTransport;
  EXPECT_EQ(V::ParseNames("b2,b1"), (std::vector<std::string>{"b2", "b1"}));
  EXPECT_EQ(V::ParseNames(",a,,b,"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(V::ParseNames("").empty());
  // An empty list means virtual boards only, none plugged in: never the USB boards.
  device::VirtualTransport none(V::ParseNames(""));
  const auto list = none.Enumerate();
  EXPECT_TRUE(list.ok);
  EXPECT_TRUE(list.interfaces.empty());
}

}  // namespace
}  // namespace pendra2

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
