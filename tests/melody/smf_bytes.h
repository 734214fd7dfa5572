#pragma once
// Standard MIDI Files written byte by byte: what a sequencer writes, and what a damaged or
// odd file holds, which no MIDI library would write. For the import tests, the CLI's and the
// editor's sessions, and the benchmark.

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace pendra2::melody::testing {

using SmfBytes = std::vector<uint8_t>;

// The events of one track; each event starts with its delta time in pulses.
class TrackEvents {
 public:
  TrackEvents& On(uint32_t delta, int channel, int key, int velocity = 100) {
    return Event(delta, {0x90 | (channel - 1), key, velocity});
  }
  TrackEvents& Off(uint32_t delta, int channel, int key) {
    return Event(delta, {0x80 | (channel - 1), key, 0});
  }
  // Data bytes only: the status of the event before runs on.
  TrackEvents& Running(uint32_t delta, int key, int velocity) {
    return Event(delta, {key, velocity});
  }
  TrackEvents& Tempo(uint32_t delta, int micros) {
    return Event(delta, {0xFF, 0x51, 3, micros >> 16 & 0xFF, micros >> 8 & 0xFF, micros & 0xFF});
  }
  TrackEvents& Name(uint32_t delta, std::string_view name) {
    Delta(delta);
    bytes.insert(bytes.end(), {0xFF, 0x03, static_cast<uint8_t>(name.size())});
    bytes.insert(bytes.end(), name.begin(), name.end());
    return *this;
  }
  TrackEvents& End(uint32_t delta = 0) { return Event(delta, {0xFF, 0x2F, 0}); }
  // Any bytes after a delta time.
  TrackEvents& Event(uint32_t delta, std::initializer_list<int> data) {
    Delta(delta);
    for (const int b : data) bytes.push_back(static_cast<uint8_t>(b));
    return *this;
  }
  TrackEvents& Delta(uint32_t pulses) {
    uint8_t groups[5];
    int n = 0;
    do {
      groups[n++] = static_cast<uint8_t>(pulses & 0x7F);
      pulses >>= 7;
    } while (pulses > 0);
    while (n > 0) {
      --n;
      bytes.push_back(static_cast<uint8_t>(groups[n] | (n > 0 ? 0x80 : 0)));
    }
    return *this;
  }

  SmfBytes bytes;
};

inline void Be(SmfBytes& out, uint32_t value, int size) {
  for (int shift = 8 * (size - 1); shift >= 0; shift -= 8)
    out.push_back(static_cast<uint8_t>(value >> shift & 0xFF));
}

inline SmfBytes Chunk(std::string_view id, const SmfBytes& body) {
  SmfBytes chunk(id.begin(), id.end());
  Be(chunk, static_cast<uint32_t>(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

// A whole file: the header, then a track chunk for each list of events.
inline SmfBytes Smf(int format, int ppqn, std::initializer_list<TrackEvents> tracks) {
  SmfBytes header;
  Be(header, static_cast<uint32_t>(format), 2);
  Be(header, static_cast<uint32_t>(tracks.size()), 2);
  Be(header, static_cast<uint32_t>(ppqn), 2);
  SmfBytes file = Chunk("MThd", header);
  for (const TrackEvents& track : tracks) {
    const SmfBytes chunk = Chunk("MTrk", track.bytes);
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

// A melody on channel 1 of a format-0 file: a MIDI key for each eighth note, -1 for a rest.
inline SmfBytes MelodyFile(const std::vector<int>& keys, int ppqn = 480, int micros = 500000) {
  TrackEvents track;
  track.Tempo(0, micros);
  const uint32_t eighth = static_cast<uint32_t>(ppqn / 2);
  uint32_t wait = 0;
  for (const int key : keys) {
    if (key < 0) {
      wait += eighth;
      continue;
    }
    track.On(wait, 1, key).Off(eighth, 1, key);
    wait = 0;
  }
  track.End(wait);
  return Smf(0, ppqn, {track});
}

}  // namespace pendra2::melody::testing
