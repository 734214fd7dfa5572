// The import and the export as the user waits for them: a long MIDI file through libsmf into a
// score, and the longest tune the board takes rendered into a WAV file.

#include <benchmark/benchmark.h>

#include "melody/exchange/midi_import.h"
#include "melody/exchange/score_from_midi.h"
#include "melody/exchange/tune_export.h"
#include "melody/smf_bytes.h"

namespace pendra2::melody::exchange {
namespace {

using testing::SmfBytes;
using testing::TrackEvents;

// 2,000 notes: a melody of 1,000 sixteenths over a bass of as many, in two tracks and with
// a tempo change halfway, as a sequencer writes them (running status throughout).
SmfBytes LongFile() {
  TrackEvents melody, bass;
  melody.Tempo(0, 500000).On(0, 1, 72);
  bass.On(0, 2, 48);
  for (int i = 1; i < 1000; ++i) {
    // A meta event ends running status: the note after the tempo change has its own.
    if (i == 500) {
      melody.Tempo(120, 400000).On(0, 1, 72 + i % 12, 0);
    } else {
      melody.Running(120, 72 + i % 12, 0);
    }
    melody.Running(0, 72 + (i + 1) % 12, 90);
    bass.Running(120, 48 + i % 7, 0).Running(0, 48 + (i + 1) % 7, 70);
  }
  return testing::Smf(1, 480, {melody.End(120), bass.End(120)});
}

void BM_ImportTwoThousandNotes(benchmark::State& state) {
  const SmfBytes file = LongFile();
  for (auto _ : state) {
    const MidiFile midi = MidiFromBytes(file, "long.mid");
    if (!midi.outcome.ok() || midi.song.parts.size() != 2) state.SkipWithError("not read");
    const ImportResult result = ScoreFromMidi(midi.song, ProposeImport(midi.song));
    benchmark::DoNotOptimize(result.score.cells.data());
  }
}
BENCHMARK(BM_ImportTwoThousandNotes)->Unit(benchmark::kMillisecond);

// Every column the board takes, a note in each, at the default tempo: 508 columns, 168 s.
Score FullScore() {
  Score score;
  for (int p = 0; p < kImportColumns; ++p)
    score.cells[static_cast<std::size_t>(p)] = static_cast<uint8_t>((p * 5) % 23);
  Normalise(score);
  return score;
}

void BM_WavOfAFullScore(benchmark::State& state) {
  const Score score = FullScore();
  for (auto _ : state)
    benchmark::DoNotOptimize(TuneFileBytes(score, ExportKind::kWav).bytes.size());
}
BENCHMARK(BM_WavOfAFullScore)->Unit(benchmark::kMillisecond);

void BM_MidiOfAFullScore(benchmark::State& state) {
  const Score score = FullScore();
  for (auto _ : state)
    benchmark::DoNotOptimize(TuneFileBytes(score, ExportKind::kMidi).bytes.size());
}
BENCHMARK(BM_MidiOfAFullScore)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pendra2::melody::exchange
