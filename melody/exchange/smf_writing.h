#pragma once
// A played-out tune as a Standard MIDI File, written by libsmf: one track on channel 1 with
// General MIDI's music box, a column an eighth note long at the tune's tempo, each note
// sounding for its column as the board sounds it, rests as silence.

#include <cstdint>
#include <optional>
#include <vector>

#include "melody/played_tune.h"

namespace pendra2::melody::exchange {

inline constexpr int kExportPpqn = 480;
inline constexpr int kExportColumnPulses = kExportPpqn / 2;
inline constexpr int kExportVelocity = 100;
inline constexpr uint8_t kMusicBoxProgram = 10;  // General MIDI's 11, counted from 0

// The file's bytes, or nothing when libsmf could not write them.
std::optional<std::vector<uint8_t>> MidiBytes(const PlayedTune& tune);

}  // namespace pendra2::melody::exchange
