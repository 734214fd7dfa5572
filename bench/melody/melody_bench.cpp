// At the fastest tempo a tick has 4 ms; these show how little of it the PC's own work takes.

#include <benchmark/benchmark.h>

#include "melody/playback.h"
#include "melody/score.h"
#include "melody/tune_file.h"
#include "melody/tune_image.h"

namespace pendra2::melody {
namespace {

Score LongTune() {
  Score score;
  for (int p = 0; p < 500; ++p)
    score.cells[static_cast<std::size_t>(p)] = static_cast<uint8_t>(p % 23);
  // A loop around the first hundred columns.
  score.cells[0] = kLoopStart;
  score.cells[1] = 3;
  score.cells[100] = kLoopEnd;
  score.cells[101] = 0;
  score.cells[102] = 0;
  score.cells[103] = 2;
  return score;
}

void BM_PlaybackTick(benchmark::State& state) {
  Score score = LongTune();
  PlaybackState playback;
  playback.loopPlay = true;
  StartWholePlayback(playback, score, 0);
  for (auto _ : state) benchmark::DoNotOptimize(PlaybackTick(playback, score, 0, true));
}
BENCHMARK(BM_PlaybackTick);

void BM_NormaliseAndImage(benchmark::State& state) {
  const Score tune = LongTune();
  for (auto _ : state) {
    Score score = tune;
    Normalise(score);
    benchmark::DoNotOptimize(TuneImage(score));
  }
}
BENCHMARK(BM_NormaliseAndImage);

void BM_LoadTuneBytes(benchmark::State& state) {
  std::array<uint8_t, kTuneFileSize> file{};
  file[0] = 'O';
  file[1] = 'L';
  file[2] = 'X';
  Score score;
  TuneHeader header{};
  for (auto _ : state) benchmark::DoNotOptimize(LoadTuneBytes(score, header, file));
}
BENCHMARK(BM_LoadTuneBytes);

}  // namespace
}  // namespace pendra2::melody
