// The real pendra2-virtual-board process with the real pendra2-cli against it.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <filesystem>
#include <memory>
#include <vector>

#include "device/board.h"
#include "device/board_lock.h"
#include "device/virtual_transport.h"
#include "flowchart/flow_file.h"
#include "flowchart/program_builder.h"
#include "support/board_process.h"
#include "virtual_board/board_model.h"

namespace pendra2 {
namespace {

using flowchart::testing::K;
using flowchart::testing::Step;
using test::BoardProcess;

flowchart::StepRecord Output(int32_t channel, int32_t value) {
  return Step(K::Output, value, 0, channel);
}
flowchart::StepRecord Wait(int32_t halfSeconds) {
  return Step(K::Wait, halfSeconds);
}

struct CliResult {
  int exitCode = -1;
  QString out, err;
  qint64 elapsedMs = 0;
};

// The command line against these boards only, waiting `timeoutMs` for each reply.
QProcessEnvironment CliEnvironment(const QString& boards, int timeoutMs) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("PENDRA2_VIRTUAL_BOARDS"), boards);
  env.insert(QStringLiteral("PENDRA2_REPLY_TIMEOUT_MS"), QString::number(timeoutMs));
  return env;
}

CliResult Cli(const QString& boards, const QStringList& args, int timeoutMs = 100) {
  QProcess cli;
  cli.setProcessEnvironment(CliEnvironment(boards, timeoutMs));
  QElapsedTimer clock;
  clock.start();
  cli.start(test::BinPath("pendra2-cli"), args);
  if (!cli.waitForFinished(20000)) {
    cli.kill();
    cli.waitForFinished();
    return {};
  }
  return {cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()),
          QString::fromUtf8(cli.readAllStandardError()), clock.elapsed()};
}

struct SavedProgram {
  std::unique_ptr<flowchart::FlowProgram> program = std::make_unique<flowchart::FlowProgram>();
  QString path;
};

// Start, the steps, End: saved as a .flc in the board's folder.
SavedProgram Save(const BoardProcess& board, std::initializer_list<flowchart::StepRecord> body) {
  SavedProgram saved;
  flowchart::testing::Build(*saved.program, body);
  saved.path = board.TempFile(QStringLiteral("program.flc"));
  EXPECT_TRUE(flowchart::SaveFlowFile(*saved.program, saved.path.toStdString()).ok());
  return saved;
}

TEST(VirtualBoardProcess, CliWritesACompiledProgramThatFitsIntoTheBoard) {
  BoardProcess board;
  ASSERT_TRUE(board.ready()) << board.Trouble();
  // A program too large is refused before any board is asked (tests/cli).
  const SavedProgram saved = Save(board, {Output(0, 1), Wait(4)});
  const CliResult r = Cli(board.name(), {"write", saved.path});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QStringList log = board.Log();
  ASSERT_EQ(log.size(), 10);
  device::Report expected{};
  expected[1] = 'C';
  EXPECT_EQ(log[0], QString::fromStdString(virtual_board::HexLine(expected)));
  // The generation check's request leaves nothing behind: 'S' goes out with byte 2 = 0.
  expected[1] = 'S';
  for (int b = -1; b < 8; ++b) {
    if (b >= 0) std::copy_n(saved.program->image.begin() + b * 64, 64, expected.begin() + 1);
    EXPECT_EQ(log[2 + b], QString::fromStdString(virtual_board::HexLine(expected))) << b;
  }
}

TEST(VirtualBoardProcess, BoardCommandsAnswerAsTheBoardIsSet) {
  BoardProcess board({"--input2", "258", "--version", "V4.01.00", "--build", "00777"});
  ASSERT_TRUE(board.ready()) << board.Trouble();
  const QString name = board.name();
  const CliResult r = Cli(name, {"board-info"});
  EXPECT_EQ(r.exitCode, 0);
  for (const char* line : {"version: V4.01.00", "generation: 4", "build: 00777"})
    EXPECT_TRUE(r.out.contains(line)) << r.out.toStdString();
  EXPECT_EQ(Cli(name, {"read-input", "2"}).out.trimmed(), "258");
  EXPECT_EQ(Cli(name, {"auto", "status"}).out.trimmed(), "off");
  EXPECT_EQ(Cli(name, {"auto", "on"}).exitCode, 0);
  EXPECT_EQ(Cli(name, {"auto", "status"}).out.trimmed(), "on");
  EXPECT_EQ(Cli(name, {"run"}).exitCode, 0);
  EXPECT_EQ(Cli(name, {"note", "23"}).exitCode, 0);
  EXPECT_EQ(Cli(name, {"note", "25"}).exitCode, 1);
  EXPECT_EQ(Cli(name, {"read-input", "4"}).exitCode, 1);

  QProcess again;  // a second board under a taken name is refused
  again.start(test::BinPath("pendra2-virtual-board"), {"--name", name});
  ASSERT_TRUE(again.waitForFinished(5000));
  EXPECT_NE(again.exitCode(), 0);
  // This process's own transport still finds the board after many rediscoveries.
  device::VirtualTransport transport({name.toStdString()});
  device::Board link(transport, 1000);
  for (int i = 0; i < 50; ++i) ASSERT_EQ(link.FindBoard(), device::kBoardFound);
  ASSERT_TRUE(link.ReadInput(2));
  EXPECT_EQ(link.InputReading(), 258);
}

TEST(VirtualBoardProcess, ServedBoardsAreNumberedInListOrderOthersAreNoBoardOrTooOld) {
  BoardProcess first({"--build", "11111", "--version", "V2.10.00"});
  BoardProcess second({"--build", "22222"});
  BoardProcess foreign({"--vid", "04D8", "--pid", "1001"});
  ASSERT_TRUE(first.ready() && second.ready() && foreign.ready());
  const QString unserved = first.name() + "-none";
  const QString list = unserved + "," + second.name() + "," + first.name();
  // Two boards and none named: refused with both, nothing sent to either.
  const CliResult several = Cli(list, {"board-info"});
  EXPECT_EQ(several.exitCode, 1);
  EXPECT_TRUE(several.err.contains("1  " + second.name()) &&
              several.err.contains("2  " + first.name()))
      << several.err.toStdString();
  const CliResult r = Cli(list, {"board-info", "--board", "1"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.out.contains("build: 22222")) << r.out.toStdString();
  EXPECT_TRUE(first.Log().isEmpty());
  // The listing asks each board its version: a heading and one row per served board.
  const CliResult listing = Cli(list, {"boards"});
  EXPECT_EQ(listing.exitCode, 0);
  EXPECT_EQ(listing.out.count('\n'), 3) << listing.out.toStdString();
  EXPECT_TRUE(listing.out.contains("V2.10.00  2")) << listing.out.toStdString();
  EXPECT_EQ(first.Log().size(), 1);

  EXPECT_EQ(Cli(foreign.name(), {"run"}).exitCode, 4);
  EXPECT_TRUE(foreign.Log().isEmpty());

  // An older board gets only the generation check's info query.
  const CliResult old = Cli(first.name(), {"write", Save(first, {Output(0, 1), Wait(2)}).path});
  EXPECT_EQ(old.exitCode, 5);
  EXPECT_TRUE(old.err.contains(QString::fromUtf8("新しいバージョンのPendra専用です")));
  EXPECT_EQ(first.Log().size(), 2);
  EXPECT_EQ(Cli(first.name(), {"write", first.TempFile("missing.flc")}).exitCode, 2);
}

TEST(VirtualBoardProcess, SilentBoardTimesOutInsteadOfHanging) {
  BoardProcess board({"--no-reply"});
  ASSERT_TRUE(board.ready()) << board.Trouble();
  const QString path = Save(board, {Output(0, 1), Wait(4)}).path;
  for (const QStringList& args : {QStringList{"board-info"}, QStringList{"write", path}}) {
    const CliResult r = Cli(board.name(), args, 150);
    EXPECT_EQ(r.exitCode, 5) << args[0].toStdString();
    EXPECT_LT(r.elapsedMs, 5000);
  }
}

// What a teacher does: the CLI writes a program into the board and runs it; the board's
// trace shows each step at its simulated time, so the waits are exact.
TEST(VirtualBoardProcess, RunsTheWrittenProgramAndTracesIt) {
  QTemporaryDir traceDir;
  const QString trace = traceDir.filePath(QStringLiteral("trace.txt"));
  BoardProcess board({"--trace", trace});
  ASSERT_TRUE(board.ready()) << board.Trouble();
  const SavedProgram blink = Save(board, {flowchart::testing::Loop(2), Output(0, 1), Wait(1),
                                          Output(0, 0), Wait(1), flowchart::testing::LoopEnd()});
  ASSERT_EQ(Cli(board.name(), {"write", blink.path}, 2000).exitCode, 0);
  ASSERT_EQ(Cli(board.name(), {"run"}, 2000).exitCode, 0);
  QStringList lines;
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 10000) {
    QFile file(trace);
    if (file.open(QIODevice::ReadOnly)) {
      lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    if (!lines.isEmpty() && lines.last().contains("stop=")) break;
    QThread::msleep(50);
  }
  ASSERT_FALSE(lines.isEmpty());
  // The whole program ran, at the waits' own pace (the trace's lines: tests/board_sim).
  EXPECT_TRUE(lines.last().startsWith("t=2001.1 stop=end addr=018")) << lines.last().toStdString();
}

// Stopped while programs are connected, the board ends cleanly and each program sees it go
// instead of waiting on. No lock file is left for its name: the board removes the one that
// earlier programs made, and a program still watching removes the one it makes again.
TEST(VirtualBoardProcess, SigtermWhileProgramsAreConnectedEndsCleanlyAndLeavesNoLockFile) {
  struct Case {
    QStringList args;
    int watchers;
  };
  for (const Case& c : {Case{{}, 2}, Case{{"--window"}, 0}}) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    BoardProcess board(c.args);
    ASSERT_TRUE(board.ready()) << board.Trouble();
    const QString name = board.name();
    const auto lock = device::LockFolder() / device::LockFileName(name.toStdString());
    ASSERT_EQ(Cli(name, {"read-input", "1"}).exitCode, 0);
    ASSERT_TRUE(std::filesystem::exists(lock));
    device::VirtualTransport idle({name.toStdString()});
    const device::Handle channel = idle.Open(name.toStdString(), device::Access::Write);
    ASSERT_NE(channel, device::kNoHandle);
    std::vector<std::unique_ptr<QProcess>> watchers;
    for (int i = 0; i < c.watchers; ++i) {
      auto& watcher = watchers.emplace_back(std::make_unique<QProcess>());
      watcher->setProcessEnvironment(CliEnvironment(name, 2000));
      watcher->start(test::BinPath("pendra2-cli"), {"read-input", "1", "--watch"});
      ASSERT_TRUE(watcher->waitForReadyRead(5000));  // its first reading is in
    }

    EXPECT_EQ(board.Terminate(), 0);
    device::Report report{};
    EXPECT_FALSE(idle.Read(channel, report, 5000));  // a write channel: no replies come to it
    EXPECT_FALSE(idle.LastErrorText().empty());      // a closed connection, not a wait run out
    for (const auto& watcher : watchers) {
      ASSERT_TRUE(watcher->waitForFinished(5000));
      EXPECT_EQ(watcher->exitStatus(), QProcess::NormalExit);
      EXPECT_EQ(watcher->exitCode(), 5);  // the board did not answer
    }
    EXPECT_FALSE(std::filesystem::exists(lock));
  }
}

TEST(VirtualTransportNames, ListIsSplitAtCommasInOrderAndEmptyMeansNoBoard) {
  using V = device::VirtualTransport;
  EXPECT_EQ(V::ParseNames("b2,b1"), (std::vector<std::string>{"b2", "b1"}));
  EXPECT_EQ(V::ParseNames(",a,,b,"), (std::vector<std::string>{"a", "b"}));
  // An empty list means virtual boards only, none plugged in: never the USB boards.
  const auto list = V(V::ParseNames("")).Enumerate();
  EXPECT_TRUE(list.ok);
  EXPECT_TRUE(list.interfaces.empty());
}

}  // namespace
}  // namespace pendra2
