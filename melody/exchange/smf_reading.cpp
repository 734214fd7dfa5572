#include "melody/exchange/smf_reading.h"

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

#include "melody/exchange/smf_handle.h"

namespace pendra2::melody::exchange {
namespace {

constexpr uint8_t kMeta = 0xFF;
constexpr uint8_t kTrackName = 0x03;
constexpr uint8_t kNoteOn = 0x90;

// A track name's bytes from its meta event: FF 03, the text's length (a variable-length
// quantity), the text. Read here, as libsmf's text helper hands back memory of its own.
std::string NameOf(const smf_event_t& event) {
  const std::span<const unsigned char> b(event.midi_buffer,
                                         static_cast<std::size_t>(event.midi_buffer_length));
  uint32_t length = 0;
  std::size_t at = 2;
  while (at < b.size()) {
    const unsigned char c = b[at++];
    length = length << 7 | (c & 0x7F);
    if ((c & 0x80) == 0) break;
  }
  const std::size_t available = b.size() - std::min(at, b.size());
  return std::string(reinterpret_cast<const char*>(b.data()) + std::min(at, b.size()),
                     std::min<std::size_t>(length, available));
}

}  // namespace

MidiReading ReadSmf(std::span<const uint8_t> bytes) {
  MidiReading reading;
  SmfFraming framing = FrameSmf(bytes);
  reading.verdict = framing.verdict;
  if (framing.verdict != SmfVerdict::kSound || framing.tracks == 0) return reading;
  const SmfHandle smf(
      smf_load_from_memory(framing.framed.data(), static_cast<int>(framing.framed.size())));
  if (!smf || smf->ppqn <= 0) {
    reading.verdict = SmfVerdict::kDamaged;
    return reading;
  }
  MidiSong& song = reading.song;
  song.ppqn = smf->ppqn;
  std::map<std::pair<int, int>, MidiPart> parts;
  for (int t = 1; t <= smf->number_of_tracks; ++t) {
    smf_track_t* track = smf_get_track_by_number(smf.get(), t);
    if (track == nullptr) continue;
    std::string name;
    bool named = false;
    for (int e = 1; e <= track->number_of_events; ++e) {
      const smf_event_t* event = smf_track_get_event_by_number(track, e);
      if (event == nullptr || event->midi_buffer_length < 2) continue;
      const unsigned char* b = event->midi_buffer;
      if (b[0] == kMeta && b[1] == kTrackName && !named) {
        name = NameOf(*event);
        named = true;
        continue;
      }
      if ((b[0] & 0xF0) != kNoteOn || event->midi_buffer_length < 3 || b[2] == 0) continue;
      const int channel = (b[0] & 0x0F) + 1;
      if (channel == kDrumChannel) {
        ++song.drumNotes;
        continue;
      }
      MidiPart& part = parts[{t, channel}];
      part.track = t;
      part.channel = channel;
      part.notes.push_back({event->time_pulses, event->time_seconds, b[1]});
    }
    // A name met after the first notes still names the track's parts.
    for (auto& [key, part] : parts) {
      if (key.first == t) part.name = name;
    }
  }
  for (auto& [key, part] : parts) song.parts.push_back(std::move(part));
  for (int n = 0;; ++n) {
    const smf_tempo_t* tempo = smf_get_tempo_by_number(smf.get(), n);
    if (tempo == nullptr) break;
    if (tempo->microseconds_per_quarter_note > 0)
      song.tempos.push_back({tempo->time_pulses, tempo->microseconds_per_quarter_note});
  }
  return reading;
}

}  // namespace pendra2::melody::exchange
