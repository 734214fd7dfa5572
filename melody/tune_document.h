#pragma once
// The bytes of the tune that an edit can change and a save writes from the score: the 512
// cells, the tempo index and the tempo pair. The rest of a saved file is the header buffer,
// which no edit touches, and the length and end mark, which the save works out from the
// cells. Undo keeps states as these bytes, so a state given back saves as it saved before.

#include <array>
#include <cstdint>
#include <span>

#include "melody/score.h"

namespace pendra2::melody {

inline constexpr std::size_t kTuneDocumentBytes = kCellCount + 2 + 2;

using TuneDocument = std::array<uint8_t, kTuneDocumentBytes>;

TuneDocument DocumentOf(const Score& score);

// Writes `document` (kTuneDocumentBytes bytes, as DocumentOf gave them) over the score's
// cells and tempo; the change flag is the caller's. False, changing nothing, for bytes of
// another size or a tempo index the table does not have.
bool RestoreDocument(Score& score, std::span<const uint8_t> document);

}  // namespace pendra2::melody
