#pragma once
// A MIDI file as the import needs it: the onsets of each channel of each track, the tempo
// map and the resolution. Filled from a file by smf_reading.h, or by hand in the tests, so
// that the conversion to a score is tried on plain note lists.

#include <cstdint>
#include <string>
#include <vector>

namespace pendra2::melody::exchange {

// Channel 10, as the file counts from 1: General MIDI's drums, no melody.
inline constexpr int kDrumChannel = 10;
inline constexpr int kDefaultMicrosPerQuarter = 500000;  // 120 quarter notes a minute

struct MidiNote {
  int32_t tick = 0;    // the onset, in the file's pulses
  double seconds = 0;  // the same onset by the file's tempo map
  uint8_t key = 60;    // 60 is middle C
};

// The notes of one channel in one track: one entry of the import dialog's list.
struct MidiPart {
  int track = 1;     // from 1, in the file's order
  int channel = 1;   // from 1
  std::string name;  // the track's name as its bytes stand (UTF-8 or Shift JIS), maybe empty
  std::vector<MidiNote> notes;  // in onset order
};

struct MidiTempo {
  int32_t tick = 0;
  int microsPerQuarter = kDefaultMicrosPerQuarter;
};

struct MidiSong {
  int ppqn = 480;                 // pulses per quarter note
  std::vector<MidiPart> parts;    // the drums left out
  std::vector<MidiTempo> tempos;  // in tick order; none: 120 a minute throughout
  int drumNotes = 0;              // notes on channel 10
};

}  // namespace pendra2::melody::exchange
