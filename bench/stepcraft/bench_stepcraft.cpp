// Stepcraft's window timings on the offscreen platform, with a board served by a separate
// pendra2-virtual-board process:
//   - start to first paint: the main window with its three child windows made, shown, and
//     the flowchart window painted once (board discovery and auto-mode query included);
//   - one repaint of the flowchart window, which shows the last known board state and asks
//     the board worker for a fresh look, with the board there and with none;
//   - a transfer from the button's click to the closed progress dialog (InfoQuery, then the
//     nine reports), the dialog painted after each block;
//   - the longest time the window's thread goes without handling its events, against a board
//     that never answers: during a transfer, and during five seconds of repaints (the
//     counter longest_gap_ms; it should stay under 50 ms);
//   - the simulation's lit step moved to another row (out of view every few rows, so the
//     window scrolls), the panel refreshed and the window repainted (goal: under 4 ms);
//   - the simulation at the board's own pace, blinking and reading an input without a
//     pause: the whole program's processor time over five seconds of it (the counter
//     cpu_percent, of one core; goal: under 3 %).

#include <benchmark/benchmark.h>
#include <optional>

#include <sys/resource.h>
#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPrinter>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <memory>

#include "device/board.h"
#include "device/virtual_transport.h"
#include "flowchart/recompute.h"
#include "flowchart_ui/connection_panel.h"
#include "flowchart_ui/flowchart_window.h"
#include "flowchart_ui/simulation.h"
#include "flowchart_ui/simulation_panel.h"
#include "flowchart_ui/stepcraft_texts.h"
#include "flowchart_ui/stepcraft_window.h"
#include "interaction/step_dialogs.h"
#include "support/board_process.h"

namespace {

using namespace pendra2;

struct Quiet final : interaction::Prompter {
  interaction::PromptAnswer Ask(const interaction::Prompt& p) override {
    return interaction::EscapeAnswer(p.buttons);
  }
};
struct NoFiles final : interaction::FileChooser {
  std::optional<std::string> Choose(const interaction::FileRequest&) override { return {}; }
};
struct NoPrinter final : ui::PrintChooser {
  bool Choose(QPrinter&, QWidget*) override { return false; }
};
struct NoStart final : ui::ProgramStarter {
  bool StartProgram(const QString&) override { return true; }
};
struct NoDialogs final : interaction::StepDialogs {
  using R = interaction::DialogResult;
  R Wait(flowchart::FlowProgram&) override { return R::Cancel; }
  R Orgel(flowchart::FlowProgram&) override { return R::Cancel; }
  std::optional<int32_t> LoopCount(int32_t) override { return std::nullopt; }
  R Branch(flowchart::FlowProgram&) override { return R::Cancel; }
  R Output(flowchart::FlowProgram&) override { return R::Cancel; }
  R Goto(flowchart::FlowProgram&) override { return R::Cancel; }
  R Compare(flowchart::FlowProgram&) override { return R::Cancel; }
  R ExtOutput(flowchart::FlowProgram&) override { return R::Cancel; }
  R VariableA(flowchart::FlowProgram&) override { return R::Cancel; }
  R VarCompare(flowchart::FlowProgram&) override { return R::Cancel; }
  R VariableB(flowchart::FlowProgram&) override { return R::Cancel; }
};

struct Editor {
  explicit Editor(std::vector<std::string> boards)
      : transport(std::move(boards)), board(transport, 2000) {
    board.SetRefreshAsksAutoMode(true);
  }

  std::unique_ptr<flowchart_ui::StepcraftWindow> Make() {
    board.AskAndWait([](device::Board& b) { return b.FindBoard(); });
    state = std::make_unique<flowchart::StepcraftState>();
    flowchart::NewProgram(state->program);
    flowchart::Recompute(state->program);
    return std::make_unique<flowchart_ui::StepcraftWindow>(
        *state,
        flowchart_ui::StepcraftServices{board, prompter, files, dialogs, printer, starter, {}, {}});
  }

  device::VirtualTransport transport;
  ui::BoardWorker board;
  std::unique_ptr<flowchart::StepcraftState> state;
  Quiet prompter;
  NoFiles files;
  NoDialogs dialogs;
  NoPrinter printer;
  NoStart starter;
};

// Shows the window and waits for the flowchart window's first paint.
bool ShowAndPaint(flowchart_ui::StepcraftWindow& window) {
  bool painted = false;
  QObject::connect(window.flowchartWindow(), &flowchart_ui::FlowchartWindow::TitleChanged,
                   [&painted] { painted = true; });
  window.panel()->RefreshBoardButtons();
  window.show();
  const QDeadlineTimer deadline(5000);
  while (!painted && !deadline.hasExpired()) QCoreApplication::processEvents();
  return painted;
}

void BM_StartToFirstPaint(benchmark::State& state) {
  const test::BoardProcess server({}, test::ReportLog::None);
  Editor editor({server.name().toStdString()});
  for (auto _ : state) {
    auto window = editor.Make();
    if (!ShowAndPaint(*window)) state.SkipWithError("no first paint");
    state.PauseTiming();
    window.reset();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(20);

void Repaints(benchmark::State& state, const std::vector<std::string>& boards) {
  Editor editor(boards);
  auto window = editor.Make();
  if (!ShowAndPaint(*window)) state.SkipWithError("no first paint");
  for (auto _ : state) window->flowchartWindow()->repaint();
}

void BM_RepaintWithBoard(benchmark::State& state) {
  const test::BoardProcess server({}, test::ReportLog::None);
  Repaints(state, {server.name().toStdString()});
}
BENCHMARK(BM_RepaintWithBoard)->Unit(benchmark::kMicrosecond);

void BM_RepaintNoBoard(benchmark::State& state) {
  Repaints(state, {"nobody-serves-this"});
}
BENCHMARK(BM_RepaintNoBoard)->Unit(benchmark::kMicrosecond);

void BM_TransferClickToClosedDialog(benchmark::State& state) {
  const test::BoardProcess server({}, test::ReportLog::None);
  Editor editor({server.name().toStdString()});
  auto window = editor.Make();
  if (!ShowAndPaint(*window)) state.SkipWithError("no first paint");
  QToolButton* transfer = window->panel()->button(flowchart_ui::kCommandTransfer);
  for (auto _ : state) {
    transfer->click();
    if (window->panel()->lastTransfer() != flowchart::TransferStep::kSent) {
      state.SkipWithError("the transfer did not go through");
      break;
    }
  }
}
BENCHMARK(BM_TransferClickToClosedDialog)->Unit(benchmark::kMillisecond);

// Ticks every millisecond on the window's thread and keeps the longest pause between two.
class GapProbe {
 public:
  GapProbe() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const qint64 now = clock_.nsecsElapsed();
      if (last_ >= 0) longest_ = std::max(longest_, now - last_);
      last_ = now;
    });
    clock_.start();
    timer_.start();
  }
  double LongestMs() const { return static_cast<double>(longest_) / 1e6; }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = -1;
  qint64 longest_ = 0;
};

void BM_LongestGapTransferToSilentBoard(benchmark::State& state) {
  const test::BoardProcess server({"--no-reply"}, test::ReportLog::None);
  Editor editor({server.name().toStdString()});
  auto window = editor.Make();
  if (!ShowAndPaint(*window)) state.SkipWithError("no first paint");
  for (auto _ : state) {
    GapProbe probe;
    window->RunCommand(flowchart_ui::kCommandTransfer);
    state.counters["longest_gap_ms"] = probe.LongestMs();
  }
}
BENCHMARK(BM_LongestGapTransferToSilentBoard)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LongestGapRepaintsAgainstSilentBoard(benchmark::State& state) {
  const test::BoardProcess server({"--no-reply"}, test::ReportLog::None);
  Editor editor({server.name().toStdString()});
  auto window = editor.Make();
  if (!ShowAndPaint(*window)) state.SkipWithError("no first paint");
  QTimer repaints;
  repaints.setInterval(10);
  QObject::connect(&repaints, &QTimer::timeout, [&] { window->flowchartWindow()->update(); });
  for (auto _ : state) {
    GapProbe probe;
    repaints.start();
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    repaints.stop();
    state.counters["longest_gap_ms"] = probe.LongestMs();
  }
}
BENCHMARK(BM_LongestGapRepaintsAgainstSilentBoard)->Unit(benchmark::kMillisecond)->Iterations(1);

std::string Sample(const char* name) {
  return std::string(PENDRA2_SOURCE_DIR) + "/docs/samples/" + name;
}

void BM_SimLitStepMovedAndRepainted(benchmark::State& state) {
  Editor editor({"nobody-serves-this"});
  auto window = editor.Make();
  window->OpenAtStart(Sample("forty_steps.flc"));
  if (!ShowAndPaint(*window)) state.SkipWithError("no first paint");
  int step = 0;
  for (auto _ : state) {
    step = (step + 3) % editor.state->program.count;
    editor.state->runningStep = step;
    window->simulationPanel()->Refresh();
    window->flowchartWindow()->ShowRunningStep();
    // The rows it left and reached are painted, as the event loop would.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
  }
}
BENCHMARK(BM_SimLitStepMovedAndRepainted)->Unit(benchmark::kMicrosecond);

double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void SimulationCpu(benchmark::State& state, const char* sample) {
  Editor editor({"nobody-serves-this"});
  auto window = editor.Make();
  window->OpenAtStart(Sample(sample));
  if (!ShowAndPaint(*window)) state.SkipWithError("no first paint");
  for (auto _ : state) {
    window->RunCommand(flowchart_ui::kCommandSimRun);
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    const double before = ProcessorSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    state.counters["cpu_percent"] =
        (ProcessorSeconds() - before) / (static_cast<double>(wall.nsecsElapsed()) / 1e9) * 100;
    window->RunCommand(flowchart_ui::kCommandSimStop);
  }
}

void BM_SimAtBoardPaceBlink(benchmark::State& state) {
  SimulationCpu(state, "blink.flc");
}
BENCHMARK(BM_SimAtBoardPaceBlink)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SimAtBoardPaceNightLight(benchmark::State& state) {
  SimulationCpu(state, "night_light.flc");
}
BENCHMARK(BM_SimAtBoardPaceNightLight)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
