#pragma once
// A melody taken from a MIDI file's notes into a score: one channel of one track, its chords
// down to their top note, its onsets on a grid of one note value a column, moved by whole
// octaves into the score's range C1-A2s, and the tempo row nearest the file's tempo.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "melody/exchange/midi_song.h"
#include "melody/score.h"
#include "melody/tune_image.h"

namespace pendra2::melody::exchange {

// A column's length as a note value: num/den of a quarter note.
struct GridValue {
  std::string_view label;    // as the import dialog lists it
  std::string_view cliName;  // pendra2-cli import-midi --grid
  int num;
  int den;
};

// From the longest to the shortest.
inline constexpr std::array<GridValue, 8> kGridValues{{
    {"2分音符", "2", 2, 1},
    {"4分音符", "4", 1, 1},
    {"3連4分音符", "4t", 2, 3},
    {"8分音符", "8", 1, 2},
    {"3連8分音符", "8t", 1, 3},
    {"16分音符", "16", 1, 4},
    {"3連16分音符", "16t", 1, 6},
    {"32分音符", "32", 1, 8},
}};
inline constexpr std::size_t kSixteenthGrid = 5;

// An imported tune stops where the board's tune image does, so that it can always be sent.
inline constexpr int kImportColumns = kLastTransferablePosition + 1;
// MIDI key 72 (the C an octave above middle C) is the score's C1, as the music box sounds it.
inline constexpr int kKeyOfC1 = 72;
inline constexpr int kMaxTranspose = 96;  // semitones either way

struct ImportChoice {
  std::size_t part = 0;  // index into MidiSong::parts
  std::size_t grid = 3;  // index into kGridValues
  int transpose = 0;     // semitones
};

// The part with the most melody: of those with at least half the onsets of the busiest, the
// one whose top notes lie highest (a tune is sung above its accompaniment).
std::size_t ProposePart(const MidiSong& song);
// The longest note value on whose grid nearly every onset lies: the shortest note the tune
// commonly has. Without one, sixteenths.
std::size_t ProposeGrid(const MidiPart& part, int ppqn);
// The whole-octave shift that puts the most notes into C1-A2s, the smallest such shift.
int ProposeTranspose(const MidiPart& part);
// All three for the file's first look in the dialog; part 0 of an empty song.
ImportChoice ProposeImport(const MidiSong& song);

struct ImportCut {
  int column = kImportColumns;  // the columns the score took
  double seconds = 0;           // where in the file the first note left out begins
};

struct ImportResult {
  Score score;      // normalised, marked changed
  int columns = 0;  // columns used before the end mark
  int folded = 0;   // notes moved by octaves into the range besides the transposition
  int merged = 0;   // notes left out under a higher one that fell in the same column
  std::optional<ImportCut> cut;
};

// The choice is taken as given; a part or grid outside the tables gives an empty score.
ImportResult ScoreFromMidi(const MidiSong& song, const ImportChoice& choice);

// The tempo row nearest a column of `columnMs`, nearest as a ratio (as tempos are heard).
int NearestTempoIndex(double columnMs);

}  // namespace pendra2::melody::exchange
