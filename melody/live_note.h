#pragma once
// Notes sounded outside playback: the keyboard picture's live note, and the short sounds
// that confirm a note entered in the grid.

#include <array>
#include <cstdint>
#include <optional>

namespace pendra2::melody {

inline constexpr int kNoLiveNote = -1;

// The key of the keyboard picture under a client position of the score window (x <= 78),
// black keys first on their half; nullopt between keys.
std::optional<int> KeyAt(int x, int y);

// Up to two PlayNote arguments, in sending order.
struct Sends {
  std::array<uint8_t, 2> codes{};
  int count = 0;
  void Add(uint8_t code) { codes[static_cast<std::size_t>(count++)] = code; }
};

// A click on key `note`: the same key again silences it, any other key sounds. liveNote
// follows the click even when nothing may be sent (no board, or a transfer under way).
Sends ToggleLiveNote(int& liveNote, int note, bool found, int playState);

// After a grid cell changed: a new code m gives m then silence (a blip), a cleared cell
// gives silence.
Sends NoteEntrySounds(std::optional<uint8_t> newCode, bool found, int playState);

}  // namespace pendra2::melody
