#pragma once
// A MIDI file read for the import, or the message that says why it cannot be: a file that
// cannot be read, is no MIDI file, is damaged, holds no notes or only drums.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "interaction/file_chooser.h"
#include "interaction/user_message.h"
#include "melody/exchange/midi_song.h"

namespace pendra2::melody::exchange {

// Far beyond any tune (a file of 2,000 notes is some 20 KB); a larger file is refused unread.
inline constexpr std::size_t kMaxMidiFileBytes = std::size_t{8} << 20;

struct MidiFile {
  interaction::Outcome outcome;  // the refusal names the file
  MidiSong song;                 // at least one part when the outcome is ok
};

// `name` is what the messages call the file.
MidiFile MidiFromBytes(std::span<const uint8_t> bytes, std::string_view name);
MidiFile ReadMidiFile(const std::string& path);

interaction::FileRequest MidiOpenRequest();

// Track names are UTF-8, or Shift JIS from Japanese sequencers; a name that is valid UTF-8 is
// taken for it, whatever else it could be.
bool IsUtf8(std::string_view text);

}  // namespace pendra2::melody::exchange
