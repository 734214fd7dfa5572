// What the launcher's idle poll costs: one tick (discovery, and closing the channels of a
// found board) with no board through hidapi, and with a virtual board served by a separate
// pendra2-virtual-board process. The poll runs at most 20 times a second, so the counter
// "ui_busy_percent" is the share of the window's time spent inside poll ticks (waiting for
// the board process included); the CPU column times 20 is the launcher's own CPU share.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>

#include "device/board.h"
#include "device/hidapi_transport.h"
#include "device/virtual_transport.h"
#include "launcher/board_check.h"
#include "support/board_process.h"

namespace {

using namespace pendra2;

constexpr double kTicksPerSecond = 20.0;

void PollLoop(benchmark::State& state, device::Board& board, launcher::PollOutcome expected) {
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const launcher::PollOutcome outcome = launcher::PollBoard(board);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (outcome != expected) {
      state.SkipWithError("the poll did not see what was expected");
      break;
    }
  }
  if (state.iterations() > 0)
    state.counters["ui_busy_percent"] = 100.0 * kTicksPerSecond * seconds / state.iterations();
}

void BM_PollTickNoBoardHidapi(benchmark::State& state) {
  device::HidapiTransport transport;
  device::Board board(transport, 2000);
  PollLoop(state, board, launcher::PollOutcome::NoBoard);
}
BENCHMARK(BM_PollTickNoBoardHidapi)->Unit(benchmark::kMicrosecond);

void BM_PollTickVirtualBoard(benchmark::State& state) {
  const test::BoardProcess server({}, test::ReportLog::None);
  if (!server.ready()) {
    state.SkipWithError("pendra2-virtual-board did not start");
    return;
  }
  device::VirtualTransport transport({server.name().toStdString()});
  device::Board board(transport, 2000);
  PollLoop(state, board, launcher::PollOutcome::BoardFound);
}
BENCHMARK(BM_PollTickVirtualBoard)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
