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

// One board process serves the virtual benchmarks; it is ended when the benchmark is.
class ServedBoard {
 public:
  ServedBoard()
      : name_(QStringLiteral("pendra2-bench-%1").arg(QCoreApplication::applicationPid())) {
    process_.start(QCoreApplication::applicationDirPath() + "/pendra2-virtual-board",
                   {"--name", name_});
    ready_ = process_.waitForStarted(5000) && process_.waitForReadyRead(5000);
  }
  ~ServedBoard() {
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
      process_.kill();
      process_.waitForFinished(3000);
    }
    QLocalServer::removeServer(name_);
  }
  bool ready() const { return ready_; }
  std::string name() const { return name_.toStdString(); }

 private:
  QString name_;
  QProcess process_;
  bool ready_ = false;
};

void BM_FindBoardVirtualBoard(benchmark::State& state) {
  ServedBoard served;
  if (!served.ready()) {
    state.SkipWithError("pendra2-virtual-board did not start");
    return;
  }
  VirtualTransport transport({served.name()});
  Board board(transport, 2000);
  for (auto _ : state) {
    benchmark::DoNotOptimize(board.FindBoard());
  }
  state.counters["found"] = board.found();
}
BENCHMARK(BM_FindBoardVirtualBoard)->Unit(benchmark::kMicrosecond);

void BM_ImageWriteVirtualBoard(benchmark::State& state) {
  ServedBoard served;
  if (!served.ready()) {
    state.SkipWithError("pendra2-virtual-board did not start");
    return;
  }
  VirtualTransport transport({served.name()});
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
