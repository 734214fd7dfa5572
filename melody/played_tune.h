#pragma once
// A tune as the board plays it, column after column: its loops played out by the playback
// itself, the loop marks taking no time, as on the board. What the tune becomes as a MIDI
// or WAV file, and what Stepcraft's tune dialog lets the user hear.

#include <cstdint>
#include <vector>

#include "melody/score.h"

namespace pendra2::melody {

// Loops can repeat a tune for hours (255 times, four deep); what is played out stops at ten
// minutes, or at 10,000 columns for the fastest tempos (a MIDI file of them is written in a
// tenth of a second, where libsmf's time grows with the square of the notes).
inline constexpr int kMaxPlayedMs = 10 * 60 * 1000;
inline constexpr int kMaxPlayedColumns = 10000;

struct PlayedTune {
  std::vector<uint8_t> columns;  // each one period long: a note 0-22 or the rest 23
  int periodMs = 0;
  bool cut = false;  // it played longer than the limits (or its marks never ended)
  bool HasNotes() const;
};

// Plays a normalised copy of the score from its first column to its end mark.
PlayedTune PlayOut(const Score& score);

}  // namespace pendra2::melody
