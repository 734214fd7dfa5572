// Tunes written out: MIDI that the import takes back to the notes the board plays, WAV of the
// right length whose loudest pitch is the note written, and saves that fail leaving nothing.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <numbers>

#include "helpers.h"
#include "melody/exchange/midi_import.h"
#include "melody/exchange/score_from_midi.h"
#include "melody/exchange/tune_export.h"
#include "melody/exchange/wav_writing.h"
#include "melody/played_tune.h"

namespace pendra2::melody::exchange {
namespace {

using namespace melody::testing;

Score TuneAt(std::string_view cells, int tempoIndex) {
  Score score = ScoreOf(cells);
  SetTempoIndex(score, tempoIndex);
  return score;
}

TEST(TuneExport, MidiComesBackAsTheNotesTheBoardPlays) {
  const std::pair<const char*, int> tunes[] = {
      {"0 l 1 2 4 L 0 0 3 - 7 22", 4},  // a loop twice around D1 E1, a rest
      {"12 - - 13 l 2 3 L 0 0 6 5", 0},
      {"22 21 20 19 18", 12},
  };
  for (const auto& [cells, tempo] : tunes) {
    SCOPED_TRACE(cells);
    const Score score = TuneAt(cells, tempo);
    const ExportBytes midi = TuneFileBytes(score, ExportKind::kMidi);
    ASSERT_TRUE(midi.outcome.ok());
    const MidiFile back = MidiFromBytes(midi.bytes, "back.mid");
    ASSERT_TRUE(back.outcome.ok());
    // The dialog's first look takes the file as it was written.
    const ImportChoice choice = ProposeImport(back.song);
    EXPECT_EQ(choice.grid, 3u);
    EXPECT_EQ(choice.transpose, 0);
    const ImportResult result = ScoreFromMidi(back.song, choice);
    const PlayedTune played = PlayOut(score);
    Cols expected(played.columns.begin(), played.columns.end());
    expected.push_back(kEndMark);
    EXPECT_EQ(Head(result.score, expected.size()), expected);
    EXPECT_EQ(result.score.tempoIndex, tempo);
  }
}

// libsndfile reads the file back: its format, and its samples.
struct WavRead {
  SF_INFO info{};
  std::vector<float> samples;
};

WavRead ReadWav(const std::vector<uint8_t>& bytes) {
  WavRead read;
  const TempDir dir;
  const std::filesystem::path path = dir / "read.wav";
  WriteBytes(path, bytes);
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &read.info);
  if (file == nullptr) return read;
  read.samples.resize(static_cast<std::size_t>(read.info.frames));
  sf_readf_float(file, read.samples.data(), read.info.frames);
  sf_close(file);
  return read;
}

// The note whose pitch is loudest in the samples (a Goertzel filter at each note's pitch).
int LoudestNote(const float* samples, std::size_t count, int rate) {
  int best = -1;
  double bestPower = 0;
  for (int note = 0; note <= kHighestNote; ++note) {
    const double hz = 523.25 * std::pow(2.0, note / 12.0);
    const double k = 2 * std::cos(2 * std::numbers::pi * hz / rate);
    double s1 = 0, s2 = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const double s0 = samples[i] + k * s1 - s2;
      s2 = s1;
      s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - k * s1 * s2;
    if (power > bestPower) {
      bestPower = power;
      best = note;
    }
  }
  return best;
}

TEST(TuneExport, WavIsTheTuneInTheMusicBoxVoice) {
  const Score score = TuneAt("0 l 1 9 L 0 0 3 22 - 14", 3);  // 0 9 9 22 rest 14, 0.25 s each
  const ExportBytes wav = TuneFileBytes(score, ExportKind::kWav);
  ASSERT_TRUE(wav.outcome.ok());
  const WavRead read = ReadWav(wav.bytes);
  EXPECT_EQ(read.info.samplerate, kWavSampleRate);
  EXPECT_EQ(read.info.channels, 1);
  EXPECT_EQ(read.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  const std::size_t column = kWavSampleRate / 4;
  // Six columns, then the last tine rings out, for less than the most it may.
  EXPECT_GT(read.samples.size(), 6 * column + column);
  EXPECT_LE(read.samples.size(), 6 * column + std::size_t{kWavSampleRate} * kWavRingOutMs / 1000);

  // One note each: its own pitch is the loudest, in its column and in the rest after it.
  for (const int note : {0, 9, 16, 22}) {
    const std::vector<float> one = RenderTune(PlayOut(TuneAt(std::to_string(note) + " -", 3)));
    ASSERT_GE(one.size(), 2 * column);
    EXPECT_EQ(LoudestNote(one.data(), column, kWavSampleRate), note);
    EXPECT_EQ(LoudestNote(one.data() + column, column, kWavSampleRate), note);
  }
}

TEST(TuneExport, RefusalsAndFailedSavesLeaveNothingBehind) {
  const TempDir dir;
  const std::tuple<const char*, std::filesystem::path, const interaction::MessageText*> cases[] = {
      {"", dir / "empty.mid", &kNothingToExportMessage},  // nothing at all
      {"- 23 23", dir / "rests.wav", &kNothingToExportMessage},
      {"1 2", dir / "none" / "t.mid", &kExportFailedMessage},  // a folder that is not there
  };
  for (const auto& [cells, path, said] : cases) {
    const auto kind = ExportKindOf(path.string()).value_or(ExportKind::kMidi);
    const Exported exported = ExportTune(TuneAt(cells, 2), path.string(), kind);
    ASSERT_FALSE(exported.outcome.ok()) << cells;
    EXPECT_EQ(Said(exported.outcome.message()), Said(*said)) << cells;
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));

  // Loops that would play for hours: written, but only the first ten minutes, and said so.
  const Score hours = TuneAt("l 255 l 255 l 255 l 255 9 L 3 0 8 L 2 0 6 L 1 0 4 L 0 0 2", 2);
  const Exported cut = ExportTune(hours, (dir / "hours.mid").string(), ExportKind::kMidi);
  ASSERT_TRUE(cut.outcome.ok());
  ASSERT_TRUE(cut.notice);
  EXPECT_EQ(
      cut.notice->text,
      "ループをすべてくり返すと長すぎるため、はじめの 1818 列（9分59秒）だけを書き出しました。");
}

}  // namespace
}  // namespace pendra2::melody::exchange
