// The flowchart window is redrawn whole on every paint (mouse moves included), so a full
// 255-step program with a jump on every other step must stay far below a frame.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "flowchart/view/flowchart_view.h"
#include "flowchart/view/print_pages.h"
#include "ui_common/draw_list_painter.h"
#include "ui_common/shift_jis.h"

namespace {

using namespace pendra2;

std::unique_ptr<flowchart::FlowProgram> FullProgram() {
  auto p = std::make_unique<flowchart::FlowProgram>();
  p->count = flowchart::kMaxSteps;
  for (int n = 1; n < p->count - 1; ++n) {
    auto& s = p->steps[n];
    s.kind = static_cast<int32_t>(n % 2 ? flowchart::StepKind::Branch : flowchart::StepKind::Wait);
    s.value = 3;
    s.target = (n * 37) % (p->count - 1) + 1;
  }
  p->steps[p->count - 1].kind = static_cast<int32_t>(flowchart::StepKind::End);
  return p;
}

void ViewDrawList(benchmark::State& state) {
  const auto p = FullProgram();
  flowchart::view::ViewState view;
  view.topStep = 120;
  for (auto _ : state) {
    benchmark::DoNotOptimize(flowchart::view::FlowchartWindowPicture(*p, view, ui::ShiftJisToUtf8));
  }
}
BENCHMARK(ViewDrawList);

void ViewPaint(benchmark::State& state) {
  const auto p = FullProgram();
  flowchart::view::ViewState view;
  view.topStep = 120;
  view.hoverRow = 3;
  QImage image(flowchart::kClientWidth, flowchart::kClientHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    ui::PaintDrawList(painter,
                      flowchart::view::FlowchartWindowPicture(*p, view, ui::ShiftJisToUtf8));
  }
}
BENCHMARK(ViewPaint)->Unit(benchmark::kMillisecond);

void PrintPageLists(benchmark::State& state) {
  const auto p = FullProgram();
  const interaction::PageGeometry page{236, 236, 9448, 13559};
  for (auto _ : state) {
    benchmark::DoNotOptimize(flowchart::view::PrintPages(*p, "bench", page, ui::ShiftJisToUtf8));
  }
}
BENCHMARK(PrintPageLists)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
