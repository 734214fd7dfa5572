// A classroom of boards: thirty virtual boards served by one pendra2-virtual-board, written
// with `pendra2-cli write FILE --all` and, for comparison, one after another (`--board N`,
// one command per board, as a teacher's loop in a shell would). The same twice within one
// process, without the commands' start-up: the board link's parallel writes against a loop.
// Wall time, the median of a few rounds.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "device/board.h"
#include "device/board_choice.h"
#include "device/each_board.h"
#include "device/virtual_transport.h"
#include "flowchart/flow_file.h"
#include "flowchart/recompute.h"
#include "support/board_process.h"

namespace {

using namespace pendra2;

constexpr int kBoards = 30;
constexpr int kRounds = 5;

double MedianSeconds(const std::function<bool()>& round) {
  std::vector<double> times;
  for (int i = 0; i < kRounds; ++i) {
    QElapsedTimer clock;
    clock.start();
    if (!round()) return -1;
    times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e9);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

bool Cli(const QStringList& names, const QString& lockFolder, const QStringList& args) {
  QProcess cli;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PENDRA2_VIRTUAL_BOARDS", names.join(','));
  env.insert("XDG_RUNTIME_DIR", lockFolder);
  cli.setProcessEnvironment(env);
  cli.start(test::BinPath("pendra2-cli"), args);
  if (!cli.waitForFinished(60000)) {
    cli.kill();
    cli.waitForFinished();
    return false;
  }
  if (cli.exitCode() != 0) std::fprintf(stderr, "%s", cli.readAllStandardError().constData());
  return cli.exitCode() == 0;
}

void Report(const char* what, double all, double oneByOne) {
  std::printf(
      "%s\n  all at once        %7.3f s\n  one after another  %7.3f s\n  ratio              %7.1f "
      "x\n",
      what, all, oneByOne, all > 0 ? oneByOne / all : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const test::BoardProcess served({"--count", QString::number(kBoards)}, test::ReportLog::None);
  if (!served.ready()) {
    std::fprintf(stderr, "pendra2-virtual-board did not start\n");
    return 1;
  }
  QStringList names;
  std::vector<std::string> stdNames;
  for (int n = 1; n <= kBoards; ++n) {
    names << served.name(n);
    stdNames.push_back(served.name(n).toStdString());
  }
  QTemporaryDir folder;
  const QString program = folder.filePath("lesson.flc");
  auto flow = std::make_unique<flowchart::FlowProgram>();
  flowchart::NewProgram(*flow);
  flowchart::Recompute(*flow);
  if (!flowchart::SaveFlowFile(*flow, program.toStdString()).ok()) return 1;

  std::printf("%d virtual boards, one 512-byte image each, median of %d rounds\n\n", kBoards,
              kRounds);
  const double cliAll = MedianSeconds([&] {
    return Cli(names, folder.path(), {"write", program, "--all"});
  });
  const double cliEach = MedianSeconds([&] {
    for (int n = 1; n <= kBoards; ++n) {
      if (!Cli(names, folder.path(), {"write", program, "--board", QString::number(n)})) {
        return false;
      }
    }
    return true;
  });
  Report("pendra2-cli write FILE --all, against one command per board:", cliAll, cliEach);

  qputenv("XDG_RUNTIME_DIR", folder.path().toUtf8());
  device::VirtualTransport transport(stdNames);
  const auto boards = device::AttachedBoards(transport.Enumerate().interfaces);
  if (static_cast<int>(boards.size()) != kBoards) return 1;
  const double linkAll = MedianSeconds([&] {
    std::atomic<int> written = 0;
    device::ForEachBoard(transport, boards, 2000, [&](std::size_t, device::Board& board) {
      if (board.found() && board.WriteImage(flow->image, nullptr)) ++written;
    });
    return written == kBoards;
  });
  const double linkEach = MedianSeconds([&] {
    for (const auto& b : boards) {
      device::Board board(transport, 2000);
      board.ChooseBoard(b.interface.path);
      if (board.FindBoard() != device::kBoardFound || !board.WriteImage(flow->image, nullptr)) {
        return false;
      }
    }
    return true;
  });
  std::printf("\n");
  Report("In one process, the board link's parallel writes against a loop:", linkAll, linkEach);
  return 0;
}
