// One second of simulated time of the largest programs the editor makes: 255 steps
// (Start, 253 instructions, End). Goal: well under 1 ms of CPU per simulated second.

#include <benchmark/benchmark.h>

#include "board_sim/board_sim.h"

namespace {

namespace bs = pendra2::board_sim;

// A loop of 255 passes around 251 extended outputs, the shortest steps, so that 253
// instructions fit the image: no waits, every step an instruction of its own.
bs::Image NoWaits() {
  bs::Image image{};
  image.fill(0xFF);
  std::size_t at = 0;
  image[at++] = 'l';
  image[at++] = 254;
  for (int i = 0; i < 251; ++i) {
    image[at++] = 'o';
    image[at++] = static_cast<uint8_t>(i & 0x0F);
  }
  for (const uint8_t b : {uint8_t{'L'}, uint8_t{1}, uint8_t{2}, uint8_t{0}, uint8_t{'E'}}) {
    image[at++] = b;
  }
  return image;
}

// The same length made of input branches and variable steps, the busiest instructions: a
// night light that also counts, read for ever.
bs::Image Polling() {
  bs::Image image{};
  image.fill(0xFF);
  std::size_t at = 0;
  while (at + 12 < 500) {
    const auto next = static_cast<uint16_t>(at + 6);
    for (const uint8_t b : {uint8_t{'B'}, uint8_t{0}, uint8_t{0x2C}, uint8_t{0x01},
                            static_cast<uint8_t>(next & 0xFF), static_cast<uint8_t>(next >> 8)}) {
      image[at++] = b;
    }
    for (const uint8_t b : {uint8_t{'A'}, uint8_t{1}, uint8_t{1}, uint8_t{0}}) image[at++] = b;
  }
  for (const uint8_t b :
       {uint8_t{'b'}, uint8_t{0}, uint8_t{0}, uint8_t{0}, uint8_t{0}, uint8_t{0}}) {
    image[at++] = b;
  }
  return image;
}

void RunOneSecond(benchmark::State& state, const bs::Image& image) {
  bs::BoardSim board;
  board.Load(image);
  board.SetInput(0, 700);
  int64_t steps = 0;
  for (auto _ : state) {
    board.Start(0);
    while (board.Advance(1'000'000)) ++steps;
    benchmark::DoNotOptimize(board.outputs());
  }
  state.counters["steps/s simulated"] =
      benchmark::Counter(static_cast<double>(steps) / static_cast<double>(state.iterations()));
}

void BM_SecondOf255StepsWithoutWaits(benchmark::State& state) {
  RunOneSecond(state, NoWaits());
}
BENCHMARK(BM_SecondOf255StepsWithoutWaits)->Unit(benchmark::kMicrosecond);

void BM_SecondOfAPollingProgram(benchmark::State& state) {
  RunOneSecond(state, Polling());
}
BENCHMARK(BM_SecondOfAPollingProgram)->Unit(benchmark::kMicrosecond);

}  // namespace
