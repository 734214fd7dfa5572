// Chimecraft's timing: the note intervals of a playback at the two fastest tempos (8 ms
// and 4 ms) through the real window, its board worker and the board link to a
// pendra2-virtual-board process, beside pendra2-cli's player in the same conditions (run it
// with a busy machine too: the window must never do worse than the command line); a repaint
// of the score window; and the time from start to the first paint.
// Goals: mean interval within 1 % of the period and 99th percentile error within 2 ms;
// repaint under 16 ms; first paint under 300 ms.

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMdiSubWindow>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <vector>

#include "cli/tune_play.h"
#include "device/board.h"
#include "device/virtual_transport.h"
#include "melody_ui/chime_window.h"
#include "melody_ui/score_canvas.h"
#include "support/board_process.h"

namespace {

using namespace pendra2;
using Clock = std::chrono::steady_clock;

// Passes everything to the virtual board and notes when each PlayNote left.
class TimedTransport final : public device::Transport {
 public:
  explicit TimedTransport(device::Transport& inner) : inner_(inner) {}
  device::InterfaceList Enumerate() override { return inner_.Enumerate(); }
  device::Handle Open(const std::string& path, device::Access access) override {
    return inner_.Open(path, access);
  }
  bool Write(device::Handle handle, const device::Report& report) override {
    if (report[1] == 'P' && report[2] != 23) sent.push_back(Clock::now());
    return inner_.Write(handle, report);
  }
  bool Read(device::Handle handle, device::Report& report, int timeoutMs) override {
    return inner_.Read(handle, report, timeoutMs);
  }
  void Close(device::Handle handle) override { inner_.Close(handle); }
  std::vector<Clock::time_point> sent;

 private:
  device::Transport& inner_;
};

struct NoPrompts final : interaction::Prompter {
  interaction::PromptAnswer Ask(const interaction::Prompt& p) override {
    return interaction::EscapeAnswer(p.buttons);
  }
};
struct NoFiles final : interaction::FileChooser {
  std::optional<std::string> Choose(const interaction::FileRequest&) override { return {}; }
};
struct NoCounts final : melody::CountDialogs {
  int AskColumnCount(int) override { return 0; }
  std::optional<int> AskLoopCount(int) override { return {}; }
};
struct NoStart final : ui::ProgramStarter {
  bool StartProgram(const QString&) override { return false; }
};
struct NoPrint final : ui::PrintChooser {
  bool Choose(QPrinter&, QWidget*) override { return false; }
};

struct Program {
  explicit Program(device::Transport& transport) : board(transport, 2000) {
    board.AskAndWait([](device::Board& b) { return b.FindBoard(); });
    window = std::make_unique<melody_ui::ChimeWindow>(
        *state, melody_ui::ChimeServices{board, prompts, files, counts, starter, print});
  }
  ui::BoardWorker board;
  std::unique_ptr<melody::MelodyState> state = std::make_unique<melody::MelodyState>();
  NoPrompts prompts;
  NoFiles files;
  NoCounts counts;
  NoStart starter;
  NoPrint print;
  std::unique_ptr<melody_ui::ChimeWindow> window;
};

void FillTune(melody::Score& score, int columns) {
  for (int i = 0; i < columns; ++i)
    score.cells[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i % 23);
}

// The intervals between the notes' departures against the period, as the goals count them.
void ReportIntervals(const char* what, const std::vector<Clock::time_point>& sent, int periodMs) {
  std::vector<double> intervals;
  for (std::size_t i = 1; i < sent.size(); ++i) {
    intervals.push_back(std::chrono::duration<double, std::milli>(sent[i] - sent[i - 1]).count());
  }
  if (intervals.empty()) {
    std::printf("%s period %d ms: no notes reached the board\n", what, periodMs);
    return;
  }
  double sum = 0;
  std::vector<double> errors;
  for (const double v : intervals) {
    sum += v;
    errors.push_back(std::fabs(v - periodMs));
  }
  if (qEnvironmentVariableIsSet("BENCH_SHOW_INTERVALS")) {
    for (std::size_t i = 0; i < 60 && i < intervals.size(); ++i) std::printf("%.2f ", intervals[i]);
    std::printf("\n");
  }
  std::sort(errors.begin(), errors.end());
  const double mean = sum / static_cast<double>(intervals.size());
  const auto within2 =
      std::count_if(errors.begin(), errors.end(), [](double e) { return e <= 2.0; });
  const double p99 =
      errors[static_cast<std::size_t>(0.99 * static_cast<double>(errors.size() - 1))];
  std::printf(
      "%s period %d ms: %zu intervals, mean %.4f ms (%+.3f %%), 99th percentile error %.3f "
      "ms, max error %.3f ms, %.1f %% within 2 ms\n",
      what, periodMs, intervals.size(), mean, (mean - periodMs) / periodMs * 100.0, p99,
      errors.back(), 100.0 * static_cast<double>(within2) / static_cast<double>(errors.size()));
}

void MeasurePlayback(device::Transport& virtualBoard, int tempoIndex, int periodMs) {
  TimedTransport timed(virtualBoard);
  Program program(timed);
  program.window->show();
  FillTune(program.state->score, 500);
  program.window->SelectTempo(tempoIndex);
  QTest::qWait(100);
  program.board.WaitIdle();
  timed.sent.clear();
  program.window->Command(2004);
  // The program's own event loop, as under exec(): a polling wait would add its sleeps.
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (program.state->playback.playState == 0) loop.quit();
  });
  poll.start(20);
  loop.exec();
  program.board.WaitIdle();
  ReportIntervals("Chimecraft playback", timed.sent, periodMs);
}

// The same tune through pendra2-cli's player, in the same conditions, for comparison.
void MeasureCliPlayback(device::Transport& virtualBoard, int tempoIndex, int periodMs) {
  device::Board board(virtualBoard, 2000);
  board.FindBoard();
  melody::Score score;
  FillTune(score, 500);
  melody::SetTempoIndex(score, tempoIndex);
  std::vector<Clock::time_point> sent;
  cli::PlayHooks hooks;
  hooks.send = [&](uint8_t code) {
    sent.push_back(Clock::now());
    return board.PlayNote(code);
  };
  std::ostringstream out, err;
  cli::PlayScore(score, cli::PlayOptions{}, hooks, cli::Streams{out, err});
  ReportIntervals("pendra2-cli play", sent, periodMs);
}

void MeasureRepaint(device::Transport& virtualBoard) {
  Program program(virtualBoard);
  program.window->show();
  FillTune(program.state->score, 500);
  QTest::qWait(50);
  melody_ui::ScoreCanvas* canvas = program.window->scoreCanvas();
  constexpr int kRuns = 200;
  std::vector<double> ms;
  for (int i = 0; i < kRuns; ++i) {
    program.state->scrollPos = (i * 7) % 490;
    QElapsedTimer t;
    t.start();
    canvas->repaint();
    ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
  }
  std::sort(ms.begin(), ms.end());
  double sum = 0;
  for (const double v : ms) sum += v;
  std::printf("score window repaint: mean %.3f ms, median %.3f ms, max %.3f ms over %d repaints\n",
              sum / kRuns, ms[kRuns / 2], ms.back(), kRuns);
}

void MeasureFirstPaint(device::Transport& virtualBoard) {
  QElapsedTimer t;
  t.start();
  Program program(virtualBoard);
  program.window->show();
  // Show, then let the first paints happen.
  QApplication::processEvents();
  program.window->scoreCanvas()->repaint();
  std::printf("in-process start to first paint: %.1f ms\n",
              static_cast<double>(t.nsecsElapsed()) / 1e6);

  // The whole program: process start, first paint, and an immediate end (a replay of an
  // empty session), so an upper bound of the time until the window shows.
  QProcess chime;
  QStringList env = QProcess::systemEnvironment();
  env << "QT_QPA_PLATFORM=offscreen";
  chime.setEnvironment(env);
  QElapsedTimer whole;
  whole.start();
  chime.start(test::BinPath("Chimecraft"), {"--replay", "/dev/null"});
  chime.waitForFinished(30000);
  std::printf("Chimecraft process start, first paint and end (empty replay): %.1f ms\n",
              static_cast<double>(whole.nsecsElapsed()) / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  const test::BoardProcess server({}, test::ReportLog::None);
  if (!server.ready()) {
    std::fprintf(stderr, "pendra2-virtual-board did not start: %s\n",
                 server.name().toUtf8().constData());
    return 1;
  }
  device::VirtualTransport transport({server.name().toStdString()});
  {
    device::Board board(transport, 2000);
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 20; ++i) board.FindBoard();
    std::printf("discovery on the virtual board: %.3f ms\n",
                static_cast<double>(t.nsecsElapsed()) / 2e7);
    t.restart();
    for (int i = 0; i < 200; ++i) board.PlayNote(23);
    std::printf("PlayNote on the virtual board: %.3f ms\n",
                static_cast<double>(t.nsecsElapsed()) / 2e8);
  }
  MeasureFirstPaint(transport);
  MeasureRepaint(transport);
  MeasurePlayback(transport, 11, 8);
  MeasureCliPlayback(transport, 11, 8);
  MeasurePlayback(transport, 12, 4);
  MeasureCliPlayback(transport, 12, 4);
  return 0;
}
