// Recompute runs after every edit, every load and before each transfer, and the editor may
// call it on each repaint: a full program must stay far below a millisecond.

#include <benchmark/benchmark.h>

#include <memory>

#include "flowchart/recompute.h"
#include "flowchart/step_code.h"

namespace {

using namespace pendra2::flowchart;

StepRecord Make(StepKind kind) {
  StepRecord s;
  s.kind = static_cast<int32_t>(kind);
  return s;
}

// 255 steps that still fit the image: three nested loops around jumps and outputs.
std::unique_ptr<FlowProgram> FullProgram() {
  auto p = std::make_unique<FlowProgram>();
  NewProgram(*p);
  int i = 1;
  auto add = [&](StepRecord s) { p->steps[i++] = s; };
  for (int depth = 0; depth < 3; ++depth) {
    StepRecord loop = Make(StepKind::LoopStart);
    loop.loopCount = 4;
    add(loop);
  }
  while (i < 251) {
    // Jumps, tunes not picked yet (no bytes) and outputs, so that 255 steps fit 511 bytes.
    const int slot = i % 10;
    StepRecord s = Make(slot == 0                               ? StepKind::Goto
                        : (slot == 3 || slot == 5 || slot == 7) ? StepKind::Orgel
                                                                : StepKind::ExtOutput);
    s.target = i / 2 + 1;
    s.channel = i & 0x0F;
    add(s);
  }
  for (int depth = 0; depth < 3; ++depth) add(Make(StepKind::LoopEnd));
  p->steps[i] = Make(StepKind::End);
  p->count = i + 1;
  return p;
}

void BM_RecomputeFullProgram(benchmark::State& state) {
  const auto program = FullProgram();
  if (program->count != 255 || !Recompute(*program)) {
    state.SkipWithError("the sample program must have 255 steps and fit the image");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(Recompute(*program));
    benchmark::DoNotOptimize(program->image.data());
  }
  state.counters["imageSize"] = program->imageSize;
}
BENCHMARK(BM_RecomputeFullProgram);

void BM_RecomputeOversizeProgram(benchmark::State& state) {
  const auto program = FullProgram();
  for (int i = 10; i < 250; ++i) program->steps[i].kind = static_cast<int32_t>(StepKind::Goto);
  for (auto _ : state) benchmark::DoNotOptimize(Recompute(*program));
}
BENCHMARK(BM_RecomputeOversizeProgram);

}  // namespace
