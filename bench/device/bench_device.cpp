// What the board link costs: one discovery with no board attached through hidapi (the
// launcher runs it every 50 ms, the editors on every repaint), and a whole image write to
// a virtual board served by a separate pendra2-virtual-board process.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QLocalServer>
#include <QProcess>

#include "device/board.h"
#include "device/hidapi_transport.h"
#include "device/virtual_transport.h"

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

void BM_ImageWriteVirtualBoard(benchmark::State& state) {
  const QString name = QStringLiteral("pendra2-bench-%1").arg(QCoreApplication::applicationPid());
  QProcess server;
  server.start(QCoreApplication::applicationDirPath() + "/pendra2-virtual-board", {"--name", name});
  if (!server.waitForStarted(5000) || !server.waitForReadyRead(5000)) {
    state.SkipWithError("pendra2-virtual-board did not start");
    return;
  }
  {
    VirtualTransport transport({name.toStdString()});
    Board board(transport, 2000);
    if (board.FindBoard() != kBoardFound) {
      state.SkipWithError("the virtual board was not found");
    } else {
      Image image{};
      for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i);
      for (auto _ : state) {
        if (!board.WriteImage(image, nullptr)) {
          state.SkipWithError("the transfer failed");
          break;
        }
      }
    }
  }
  server.terminate();
  if (!server.waitForFinished(3000)) {
    server.kill();
    server.waitForFinished(3000);
  }
  QLocalServer::removeServer(name);
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
