#include "melody/exchange/score_from_midi.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <vector>

namespace pendra2::melody::exchange {
namespace {

// An onset within a tenth of a column of a grid line lies on it: files played in by hand
// wander a little, and the proposal should still find their grid.
constexpr double kOnGrid = 0.1;
constexpr double kNearlyEvery = 0.95;
constexpr int kMaxOctaves = 8;
constexpr int kRange = kHighestNote + 1;  // C1-A2s

double ColumnPulses(int ppqn, const GridValue& grid) {
  return static_cast<double>(ppqn) * grid.num / grid.den;
}

long long GridIndex(int32_t tick, double step) {
  return std::llround(tick / step);
}

bool InRange(int code) {
  return code >= 0 && code < kRange;
}

int Fold(int code) {
  while (code < 0) code += 12;
  while (code >= kRange) code -= 12;
  return code;
}

int MicrosAt(const std::vector<MidiTempo>& tempos, int32_t tick) {
  int micros = kDefaultMicrosPerQuarter;
  for (const MidiTempo& tempo : tempos) {
    if (tempo.tick > tick) break;
    micros = tempo.microsPerQuarter;
  }
  return micros;
}

struct Onsets {
  int count = 0;
  double meanTop = 0;
};

Onsets OnsetsOf(const MidiPart& part) {
  std::map<int32_t, int> top;
  for (const MidiNote& note : part.notes) {
    auto [slot, fresh] = top.try_emplace(note.tick, note.key);
    if (!fresh) slot->second = std::max<int>(slot->second, note.key);
  }
  Onsets onsets{static_cast<int>(top.size()), 0};
  for (const auto& [tick, key] : top) onsets.meanTop += key;
  if (onsets.count > 0) onsets.meanTop /= onsets.count;
  return onsets;
}

}  // namespace

std::size_t ProposePart(const MidiSong& song) {
  std::vector<Onsets> onsets;
  int busiest = 0;
  for (const MidiPart& part : song.parts) {
    onsets.push_back(OnsetsOf(part));
    busiest = std::max(busiest, onsets.back().count);
  }
  std::size_t best = 0;
  for (std::size_t i = 0; i < onsets.size(); ++i) {
    const Onsets& o = onsets[i];
    if (o.count == 0 || o.count * 2 < busiest) continue;
    const Onsets& b = onsets[best];
    if (b.count * 2 < busiest || o.meanTop > b.meanTop ||
        (o.meanTop == b.meanTop && o.count > b.count))
      best = i;
  }
  return best;
}

std::size_t ProposeGrid(const MidiPart& part, int ppqn) {
  if (part.notes.empty() || ppqn <= 0) return kSixteenthGrid;
  for (std::size_t g = 0; g < kGridValues.size(); ++g) {
    const double step = ColumnPulses(ppqn, kGridValues[g]);
    std::size_t on = 0;
    for (const MidiNote& note : part.notes) {
      const double at = note.tick / step;
      if (std::abs(at - std::round(at)) <= kOnGrid) ++on;
    }
    if (static_cast<double>(on) >= kNearlyEvery * static_cast<double>(part.notes.size())) return g;
  }
  return kSixteenthGrid;
}

int ProposeTranspose(const MidiPart& part) {
  int bestShift = 0;
  int bestCount = -1;
  // Nearer shifts first, upwards before downwards: a tie keeps the nearest, and a music box
  // rather sings high.
  for (int distance = 0; distance <= kMaxOctaves; ++distance) {
    for (const int octaves : {distance, -distance}) {
      int count = 0;
      for (const MidiNote& note : part.notes)
        count += InRange(note.key - kKeyOfC1 + 12 * octaves) ? 1 : 0;
      if (count > bestCount) {
        bestCount = count;
        bestShift = 12 * octaves;
      }
    }
  }
  return bestShift;
}

ImportChoice ProposeImport(const MidiSong& song) {
  ImportChoice choice;
  choice.part = ProposePart(song);
  if (choice.part < song.parts.size()) {
    const MidiPart& part = song.parts[choice.part];
    choice.grid = ProposeGrid(part, song.ppqn);
    choice.transpose = ProposeTranspose(part);
  }
  return choice;
}

int NearestTempoIndex(double columnMs) {
  int best = kDefaultTempoIndex;
  double bestDistance = INFINITY;
  if (!(columnMs > 0)) return best;
  for (int i = 0; i < kTempoCount; ++i) {
    const double distance = std::abs(std::log(columnMs / kTempoTable[i].periodMs));
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

ImportResult ScoreFromMidi(const MidiSong& song, const ImportChoice& choice) {
  ImportResult result;
  Score& score = result.score;
  if (choice.part >= song.parts.size() || choice.grid >= kGridValues.size() || song.ppqn <= 0) {
    Normalise(score);
    return result;
  }
  const MidiPart& part = song.parts[choice.part];
  const GridValue& grid = kGridValues[choice.grid];
  const double step = ColumnPulses(song.ppqn, grid);

  // The grid starts at the column of the first onset, so a tune starts at once however long
  // the file waits, and keeps its beat.
  long long first = 0;
  if (!part.notes.empty()) {
    first = GridIndex(part.notes.front().tick, step);
    for (const MidiNote& note : part.notes) first = std::min(first, GridIndex(note.tick, step));
  }
  std::array<int, kImportColumns> top;
  top.fill(-1);
  std::array<int32_t, kImportColumns> onset{};
  int placed = 0;
  for (const MidiNote& note : part.notes) {
    const long long column = GridIndex(note.tick, step) - first;
    if (column >= kImportColumns) {
      if (!result.cut || note.seconds < result.cut->seconds)
        result.cut = ImportCut{kImportColumns, note.seconds};
      continue;
    }
    ++placed;
    const auto c = static_cast<std::size_t>(column);
    if (note.key > top[c]) {
      top[c] = note.key;
      onset[c] = note.tick;
    }
  }

  std::map<int, int> tempoVotes;
  int kept = 0;
  for (std::size_t c = 0; c < top.size(); ++c) {
    if (top[c] < 0) continue;
    ++kept;
    const int code = top[c] - kKeyOfC1 + choice.transpose;
    if (!InRange(code)) ++result.folded;
    score.cells[c] = static_cast<uint8_t>(Fold(code));
    result.columns = static_cast<int>(c) + 1;
    ++tempoVotes[MicrosAt(song.tempos, onset[c])];
  }
  result.merged = placed - kept;

  // The tempo that most of the melody is played at.
  int micros =
      song.tempos.empty() ? kDefaultMicrosPerQuarter : song.tempos.front().microsPerQuarter;
  int votes = 0;
  for (const auto& [value, count] : tempoVotes) {
    if (count > votes) {
      votes = count;
      micros = value;
    }
  }
  SetTempoIndex(score,
                NearestTempoIndex(micros * (static_cast<double>(grid.num) / grid.den) / 1000.0));
  Normalise(score);
  score.modified = true;
  return result;
}

}  // namespace pendra2::melody::exchange
