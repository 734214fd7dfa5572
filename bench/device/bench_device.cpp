// What the board link costs: one discovery with no board attached through hidapi (the
// launcher runs it every 50 ms, the editors on every repaint), and a whole image write to
// a virtual board served by a separate pendra2-virtual-board process.

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "device/board.h"
#include "device/hidapi_transport.h"
#include "device/virtual_transport.h"
#include "support/board_process.h"

namespace {

using namespace pendra2::device;

void BM_FindBoardNoBoardHidapi(benchmark::State& state) {
  HidapiTransport transport;
  Board board(transport, 2000);
  for (auto _ : state) {
    benchmark::DoNotOptimize(board.FindBoard());
  }
  state.counters["found"] = board.found();
}
BENCHMARK(BM_FindBoardNoBoardHidapi)->Unit(benchmark::kMicrosecond);

// False, with the reason reported, when the board process did not start.
bool ServedBoard(benchmark::State& state, const pendra2::test::BoardProcess& served) {
  if (!served.ready()) state.SkipWithError("pendra2-virtual-board did not start");
  return served.ready();
}

void BM_FindBoardVirtualBoard(benchmark::State& state) {
  const pendra2::test::BoardProcess served({}, pendra2::test::ReportLog::None);
  if (!ServedBoard(state, served)) return;
  VirtualTransport transport({served.name().toStdString()});
  Board board(transport, 2000);
  for (auto _ : state) {
    benchmark::DoNotOptimize(board.FindBoard());
  }
  state.counters["found"] = board.found();
}
BENCHMARK(BM_FindBoardVirtualBoard)->Unit(benchmark::kMicrosecond);

void BM_ImageWriteVirtualBoard(benchmark::State& state) {
  const pendra2::test::BoardProcess served({}, pendra2::test::ReportLog::None);
  if (!ServedBoard(state, served)) return;
  VirtualTransport transport({served.name().toStdString()});
  Board board(transport, 2000);
  if (board.FindBoard() != kBoardFound) {
    state.SkipWithError("the virtual board was not found");
    return;
  }
  Image image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i);
  for (auto _ : state) {
    if (!board.WriteImage(image, nullptr)) {
      state.SkipWithError("the transfer failed");
      break;
    }
  }
}
BENCHMARK(BM_ImageWriteVirtualBoard)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
