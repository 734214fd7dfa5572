// The MIDI import: files written byte by byte through libsmf to the notes of each part or to
// the message that refuses them, and plain note lists to exact scores.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "helpers.h"
#include "melody/exchange/import_texts.h"
#include "melody/exchange/midi_import.h"
#include "melody/exchange/score_from_midi.h"
#include "smf_bytes.h"

namespace pendra2::melody::exchange {
namespace {

using namespace melody::testing;

// Each part as "track/channel name: key@tick ...".
std::string Parts(const MidiSong& song) {
  std::string text;
  for (const MidiPart& part : song.parts) {
    if (!text.empty()) text += " | ";
    text += std::to_string(part.track) + "/" + std::to_string(part.channel);
    if (!part.name.empty()) text += " " + part.name;
    text += ":";
    for (const MidiNote& note : part.notes)
      text += " " + std::to_string(note.key) + "@" + std::to_string(note.tick);
  }
  return text;
}

TrackEvents TwoNotes(int channel = 1) {
  return TrackEvents()
      .On(0, channel, 60)
      .Off(240, channel, 60)
      .On(0, channel, 64)
      .Off(240, channel, 64);
}

SmfBytes Cut(SmfBytes bytes, std::size_t drop) {
  bytes.resize(bytes.size() - drop);
  return bytes;
}

SmfBytes WithChunk(SmfBytes file, std::string_view id, std::size_t at) {
  const SmfBytes chunk = Chunk(id, {1, 2, 3});
  file.insert(file.begin() + static_cast<std::ptrdiff_t>(at), chunk.begin(), chunk.end());
  return file;
}

TEST(MidiImport, FilesToPartsOrTheirRefusal) {
  struct Case {
    const char* what;
    SmfBytes file;
    std::string parts;                     // when read
    const interaction::MessageText* said;  // when refused
  };
  const SmfBytes melody = Smf(0, 480, {TwoNotes().End()});
  const Case cases[] = {
      {"format 0, running status, note-ons of velocity 0 as offs",
       Smf(0, 96,
           {TrackEvents()
                .On(0, 1, 60)
                .Running(48, 60, 0)
                .Running(0, 62, 90)
                .Running(48, 62, 0)
                .Running(0, 64, 80)
                .End()}),
       "1/1: 60@0 62@48 64@96", nullptr},
      {"format 1: a conductor track, named tracks, the drums left out",
       Smf(1, 480,
           {TrackEvents().Name(0, "Song").Tempo(0, 400000).End(),
            TrackEvents().Name(0, "Melody").On(0, 1, 72).Off(240, 1, 72).End(),
            TrackEvents().Name(0, "Bass").On(0, 2, 48).Off(480, 2, 48).End(),
            TrackEvents().On(0, 10, 36).Off(10, 10, 36).End()}),
       "2/1 Melody: 72@0 | 3/2 Bass: 48@0", nullptr},
      {"two channels in one track",
       Smf(0, 480, {TrackEvents().On(0, 3, 50).On(0, 1, 70).Off(100, 1, 70).Off(0, 3, 50).End()}),
       "1/1: 70@0 | 1/3: 50@0", nullptr},
      {"a chunk of another kind between the header and the track", WithChunk(melody, "XFIH", 14),
       "1/1: 60@0 64@240", nullptr},
      {"drums only", Smf(0, 480, {TwoNotes(10).End()}), "", &kMidiDrumsOnlyMessage},
      {"no notes", Smf(1, 480, {TrackEvents().Tempo(0, 500000).End()}), "", &kMidiNoNotesMessage},
      {"a tune file", TuneFile({1, 2}), "", &kNotMidiMessage},
      {"empty", {}, "", &kNotMidiMessage},
      {"cut inside a track", Cut(melody, 5), "", &kMidiDamagedMessage},
      {"no end of track", Smf(0, 480, {TwoNotes()}), "", &kMidiDamagedMessage},
      {"a tempo one byte long", Smf(0, 480, {TwoNotes().Event(0, {0xFF, 0x51, 1, 7}).End()}), "",
       &kMidiDamagedMessage},
      {"running status after a meta event",
       Smf(0, 480, {TwoNotes().Name(0, "x").Running(0, 60, 100).End()}), "", &kMidiDamagedMessage},
      {"more tracks declared than there are",
       [&] {
         SmfBytes f = melody;
         f[11] = 2;
         return f;
       }(),
       "", &kMidiDamagedMessage},
      {"format 2", Smf(2, 480, {TwoNotes().End()}), "", &kMidiUnsupportedMessage},
      {"SMPTE time", Smf(0, 0xE728, {TwoNotes().End()}), "", &kMidiUnsupportedMessage},
      {"an escaped event", Smf(0, 480, {TwoNotes().Event(0, {0xF7, 2, 0xF8, 0xF8}).End()}), "",
       &kMidiUnsupportedMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const MidiFile read = MidiFromBytes(c.file, "song.mid");
    if (c.said == nullptr) {
      ASSERT_TRUE(read.outcome.ok()) << read.outcome.message().text;
      EXPECT_EQ(Parts(read.song), c.parts);
    } else {
      ASSERT_FALSE(read.outcome.ok());
      EXPECT_EQ(Said(read.outcome.message()), Said(interaction::NamingFile(*c.said, "song.mid")));
    }
  }
}

TEST(MidiImport, TheTempoMapGivesSecondsAndTempos) {
  const MidiFile read =
      MidiFromBytes(Smf(1, 480,
                        {TrackEvents().Tempo(0, 500000).Tempo(960, 250000).End(),
                         TrackEvents().On(960, 1, 72).Off(480, 1, 72).On(0, 1, 74).End()}),
                    "t.mid");
  ASSERT_TRUE(read.outcome.ok());
  const auto& notes = read.song.parts.at(0).notes;
  EXPECT_EQ(std::pair(notes.at(0).seconds, notes.at(1).seconds), std::pair(1.0, 1.25));
  EXPECT_EQ(read.song.tempos.back().microsPerQuarter, 250000);
}

TEST(MidiImport, DamagedOrRandomBytesAreReadOrRefusedNeverMore) {
  std::mt19937 rng(20240);
  const SmfBytes valid[] = {
      MelodyFile({60, 62, -1, 64, 65, 67, 69, 71, 72}),
      Smf(1, 96,
          {TrackEvents().Name(0, "a").Tempo(0, 300000).End(), TwoNotes(2).End(),
           TrackEvents().On(0, 1, 80).Running(10, 81, 5).Event(3, {0xF0, 2, 1, 0xF7}).End()}),
  };
  const uint8_t odd[] = {0x00, 0x7F, 0x80, 0xF7, 0xFF, 0x2F, 0x51};
  for (int round = 0; round < 4000; ++round) {
    SmfBytes file = valid[round % 2];
    for (int flips = 1 + static_cast<int>(rng() % 6); flips > 0; --flips)
      file[rng() % file.size()] = rng() % 2 ? odd[rng() % 7] : static_cast<uint8_t>(rng());
    if (rng() % 4 == 0) file.resize(rng() % file.size());
    const MidiFile read = MidiFromBytes(file, "x.mid");
    if (!read.outcome.ok()) continue;
    const ImportResult result = ScoreFromMidi(read.song, ProposeImport(read.song));
    ASSERT_LE(result.columns, kImportColumns);
    ASSERT_EQ(result.score.cells[static_cast<std::size_t>(result.score.length - 1)], kEndMark);
  }
}

// --- From notes to a score -------------------------------------------------------------------

MidiSong Song(std::initializer_list<std::pair<int32_t, int>> notes, int ppqn = 480,
              std::vector<MidiTempo> tempos = {}) {
  MidiSong song;
  song.ppqn = ppqn;
  song.tempos = std::move(tempos);
  MidiPart part;
  for (const auto& [tick, key] : notes)
    part.notes.push_back({tick, tick / 960.0, static_cast<uint8_t>(key)});
  song.parts.push_back(part);
  return song;
}

TEST(MidiImport, NotesToScores) {
  struct Case {
    const char* what;
    MidiSong song;
    ImportChoice choice;
    const char* cells;  // up to the end mark
    int tempoIndex;
    int folded, merged;
  };
  const Case cases[] = {
      {"eighths, an octave up, a quarter at 120 a minute",
       Song({{0, 60}, {240, 62}, {480, 64}, {720, 65}}),
       {0, 3, 12},
       "0 2 4 5 24",
       3,
       0,
       0},
      {"a chord keeps its top note",
       Song({{0, 72}, {0, 79}, {0, 76}, {240, 74}}),
       {0, 3, 0},
       "7 2 24",
       3,
       0,
       2},
      {"a gap becomes rests, the wait before the first note goes",
       Song({{1920, 72}, {2640, 77}}),
       {0, 3, 0},
       "0 23 23 5 24",
       3,
       0,
       0},
      {"onsets a little off the grid",
       Song({{0, 72}, {250, 74}, {470, 76}}),
       {0, 3, 0},
       "0 2 4 24",
       3,
       0,
       0},
      {"two notes in one column of a coarser grid",
       Song({{0, 72}, {240, 74}, {480, 76}}),
       {0, 1, 0},
       "0 4 24",
       0,
       0,
       1},
      {"notes out of range fold in by octaves",
       Song({{0, 60}, {240, 100}, {480, 94}}),
       {0, 3, 0},
       "0 16 22 24",
       3,
       2,
       0},
      {"the tempo most of the melody is played at",
       Song({{0, 72}, {240, 72}, {480, 72}, {720, 72}, {960, 72}}, 480,
            {{0, 600000}, {480, 400000}}),
       {0, 3, 0},
       "0 0 0 0 0 24",
       4,
       0,
       0},
      {"triplet eighths at 40 a minute",
       Song({{0, 72}, {160, 73}, {320, 74}}, 480, {{0, 1500000}}),
       {0, 4, 0},
       "0 1 2 24",
       0,
       0,
       0},
      {"a part that is not there", Song({{0, 72}}), {3, 3, 0}, "24", kDefaultTempoIndex, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ImportResult result = ScoreFromMidi(c.song, c.choice);
    const Cols expected = C(c.cells);
    EXPECT_EQ(Head(result.score, expected.size()), expected);
    EXPECT_EQ(result.score.tempoIndex, c.tempoIndex);
    EXPECT_EQ(result.folded, c.folded);
    EXPECT_EQ(result.merged, c.merged);
    EXPECT_FALSE(result.cut);
  }
}

TEST(MidiImport, ATuneLongerThanTheBoardTakesIsCutAndSaysWhere) {
  MidiSong song;
  song.parts.emplace_back();
  for (int i = 0; i < 600; ++i)
    song.parts[0].notes.push_back({i * 240, i * 0.25, static_cast<uint8_t>(72 + i % 12)});
  const ImportResult result = ScoreFromMidi(song, {0, 3, 0});
  EXPECT_EQ(result.columns, kImportColumns);
  ASSERT_TRUE(result.cut);
  EXPECT_DOUBLE_EQ(result.cut->seconds, 508 * 0.25);
  EXPECT_EQ(result.score.length, kImportColumns + 1);
  EXPECT_TRUE(result.score.modified);
  const auto report = ImportReport(result);
  ASSERT_TRUE(report);
  EXPECT_EQ(
      report->text,
      "スコアには 508 列までしか入らないので、MIDIファイルの 2分07秒 から後は入れませんでした。");
  EXPECT_FALSE(ImportReport(ScoreFromMidi(Song({{0, 72}}), {0, 3, 0})));
}

TEST(MidiImport, TheDialogsFirstChoice) {
  const auto part = [](std::initializer_list<std::pair<int32_t, int>> notes) {
    return Song(notes).parts[0];
  };
  // The grid: the longest note value nearly every onset lies on.
  const std::pair<MidiPart, std::size_t> grids[] = {
      {part({{0, 72}, {480, 72}, {960, 72}, {1920, 72}}), 1},            // quarters
      {part({{0, 72}, {240, 72}, {480, 72}, {1200, 72}}), 3},            // eighths
      {part({{0, 72}, {160, 72}, {320, 72}, {480, 72}}), 4},             // triplet eighths
      {part({{0, 72}, {122, 72}, {238, 72}, {365, 72}, {475, 72}}), 5},  // played-in sixteenths
      {part({{0, 72}, {37, 72}, {301, 72}}), kSixteenthGrid},            // no grid at all
  };
  for (const auto& [notes, grid] : grids) EXPECT_EQ(ProposeGrid(notes, 480), grid) << grid;
  // The octave shift that fits the most notes, the nearest of equals.
  EXPECT_EQ(ProposeTranspose(part({{0, 60}, {0, 67}, {0, 79}})), 12);
  EXPECT_EQ(ProposeTranspose(part({{0, 84}, {0, 100}})), -12);
  EXPECT_EQ(ProposeTranspose(part({{0, 72}, {0, 80}})), 0);
  // The part: a busy low bass, the tune above it, a few high bells.
  MidiSong song;
  song.parts = {part({{0, 40}, {240, 43}, {480, 40}, {720, 43}, {960, 40}, {1200, 43}}),
                part({{0, 72}, {480, 74}, {960, 76}, {1200, 77}}), part({{0, 96}, {960, 96}})};
  EXPECT_EQ(ProposePart(song), 1u);
}

}  // namespace
}  // namespace pendra2::melody::exchange
