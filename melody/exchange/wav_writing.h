#pragma once
// A played-out tune as a WAV file, written by libsndfile: the suite's music-box voice
// (sound::MusicBoxVoices, as the virtual board sounds), mono, 16 bits, at the rate the PC's
// loudspeaker plays it. A tine plucked for each note rings on through rests, as on the board
// running the tune, and the last ones ring out after the end.

#include <cstdint>
#include <optional>
#include <vector>

#include "melody/played_tune.h"

namespace pendra2::melody::exchange {

inline constexpr int kWavSampleRate = 22050;
inline constexpr int kWavRingOutMs = 3000;  // at most, after the last column

// The samples of the tune, mono, -1..1.
std::vector<float> RenderTune(const PlayedTune& tune, int sampleRate = kWavSampleRate);

// The WAV file's bytes, or nothing when libsndfile could not write them.
std::optional<std::vector<uint8_t>> WavBytes(const PlayedTune& tune);

}  // namespace pendra2::melody::exchange
