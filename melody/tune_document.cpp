#include "melody/tune_document.h"

#include <algorithm>

namespace pendra2::melody {
namespace {

constexpr std::size_t kTempoIndexAt = kCellCount;
constexpr std::size_t kTempoPairAt = kCellCount + 2;

}  // namespace

TuneDocument DocumentOf(const Score& score) {
  TuneDocument document{};
  std::copy(score.cells.begin(), score.cells.end(), document.begin());
  document[kTempoIndexAt] = static_cast<uint8_t>(score.tempoIndex & 0xFF);
  document[kTempoIndexAt + 1] = static_cast<uint8_t>((score.tempoIndex >> 8) & 0xFF);
  document[kTempoPairAt] = score.tempoPair[0];
  document[kTempoPairAt + 1] = score.tempoPair[1];
  return document;
}

bool RestoreDocument(Score& score, std::span<const uint8_t> document) {
  if (document.size() != kTuneDocumentBytes) return false;
  const int tempoIndex = document[kTempoIndexAt] | (document[kTempoIndexAt + 1] << 8);
  if (!IsTempoIndex(tempoIndex)) return false;
  std::copy_n(document.begin(), kCellCount, score.cells.begin());
  // The pair as it was, not as the index would make it: a loaded file may carry its own.
  score.tempoIndex = tempoIndex;
  score.tempoPair = {document[kTempoPairAt], document[kTempoPairAt + 1]};
  return true;
}

}  // namespace pendra2::melody
