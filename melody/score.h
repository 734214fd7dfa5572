#pragma once
// The tune being edited: one byte per grid column, the tempo, and the change flag.

#include <array>
#include <cstdint>

#include "melody/codes.h"
#include "melody/tempo_table.h"

namespace pendra2::melody {

constexpr Cells EmptyCells() {
  Cells cells{};
  cells.fill(kEmpty);
  return cells;
}

struct Score {
  Cells cells = EmptyCells();
  int length = 0;  // position just after the end mark, set by Normalise
  int tempoIndex = kDefaultTempoIndex;
  std::array<uint8_t, 2> tempoPair{board_image::op::kTune,
                                   kTempoTable[kDefaultTempoIndex].tempoByte};
  bool modified = false;
};

void ResetScore(Score& score);

// Sets the tempo row: the tempo byte of tempoPair and, through the row, the period of the
// next playback tick. An index out of range selects the default row.
void SetTempoIndex(Score& score, int index);

// The user chose tempo row `index` from the list: the file keeps the tempo, so a new one is a
// change to save. False, changing nothing, for an index the table does not have.
bool ChooseTempo(Score& score, int index);

// Turns gaps and stray bytes before the last used column into rests, writes the end mark
// right after it and sets length. Loop parameter bytes are kept as they are.
void Normalise(Score& score);

inline int PeriodMs(const Score& score) {
  return TempoRowOf(score.tempoIndex).periodMs;
}

}  // namespace pendra2::melody
