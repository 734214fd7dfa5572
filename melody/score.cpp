#include "melody/score.h"

namespace pendra2::melody {

void ResetScore(Score& score) {
  score.cells = EmptyCells();
  score.length = 0;
  SetTempoIndex(score, kDefaultTempoIndex);
  score.modified = false;
}

void SetTempoIndex(Score& score, int index) {
  score.tempoIndex = IsTempoIndex(index) ? index : kDefaultTempoIndex;
  score.tempoPair = {board_image::op::kTune, TempoRowOf(score.tempoIndex).tempoByte};
}

bool ChooseTempo(Score& score, int index) {
  if (!IsTempoIndex(index)) return false;
  if (index != score.tempoIndex) score.modified = true;
  SetTempoIndex(score, index);
  return true;
}

void Normalise(Score& score) {
  auto& cells = score.cells;
  int used = 0;
  for (int p = kLastEditable; p >= 0; --p) {
    if (cells[p] != kEmpty && cells[p] != kEndMark) {
      used = p + 1;
      break;
    }
  }
  for (int p = 0; p < used; ++p) {
    const uint8_t b = cells[p];
    if (IsNoteOrRest(b)) continue;
    if (b == kLoopStart) {
      p += 1;
    } else if (b == kLoopEnd) {
      p += 3;
    } else {
      cells[p] = kRest;
    }
  }
  cells[used] = kEndMark;
  score.length = used + 1;
}

}  // namespace pendra2::melody
