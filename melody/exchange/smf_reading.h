#pragma once
// A Standard MIDI File (format 0 or 1) read by libsmf into the notes the import works on.

#include <cstdint>
#include <span>

#include "melody/exchange/midi_song.h"
#include "melody/exchange/smf_framing.h"

namespace pendra2::melody::exchange {

struct MidiReading {
  SmfVerdict verdict = SmfVerdict::kDamaged;
  MidiSong song;  // when kSound
};

MidiReading ReadSmf(std::span<const uint8_t> bytes);

}  // namespace pendra2::melody::exchange
