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

// The events of one track, each after its delta time in pulses.
struct TrackEvents {
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
    Event(delta, {0xFF, 0x03, static_cast<int>(name.size())});
    bytes.insert(bytes.end(), name.begin(), name.end());
    return *this;
  }
  TrackEvents& End(uint32_t delta = 0) { return Event(delta, {0xFF, 0x2F, 0}); }
  TrackEvents& Event(uint32_t delta, std::initializer_list<int> data) {
    int shift = 21;
    while (shift > 0 && (delta >> shift) == 0) shift -= 7;
    for (; shift > 0; shift -= 7) bytes.push_back(static_cast<uint8_t>(0x80 | (delta >> shift)));
    bytes.push_back(static_cast<uint8_t>(delta & 0x7F));
    for (const int b : data) bytes.push_back(static_cast<uint8_t>(b));
    return *this;
  }
  SmfBytes bytes;
};

inline SmfBytes Chunk(std::string_view id, const SmfBytes& body) {
  SmfBytes chunk(id.begin(), id.end());
  for (int shift = 24; shift >= 0; shift -= 8)
    chunk.push_back(static_cast<uint8_t>(body.size() >> shift & 0xFF));
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

// A whole file: the header, then a track chunk for each list of events.
inline SmfBytes Smf(int format, int ppqn, std::initializer_list<TrackEvents> tracks) {
  const auto count = static_cast<int>(tracks.size());
  SmfBytes file = Chunk("MThd", {0, static_cast<uint8_t>(format), static_cast<uint8_t>(count >> 8),
                                 static_cast<uint8_t>(count), static_cast<uint8_t>(ppqn >> 8),
                                 static_cast<uint8_t>(ppqn)});
  for (const TrackEvents& track : tracks) {
    const SmfBytes chunk = Chunk("MTrk", track.bytes);
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

// A melody on channel 1 of a format-0 file: a MIDI key for each eighth note, -1 a rest.
inline SmfBytes MelodyFile(const std::vector<int>& keys, int ppqn = 480) {
  TrackEvents track;
  track.Tempo(0, 500000);
  const auto eighth = static_cast<uint32_t>(ppqn / 2);
  uint32_t wait = 0;
  for (const int key : keys) {
    if (key >= 0) track.On(wait, 1, key).Off(eighth, 1, key);
    wait = key >= 0 ? 0 : wait + eighth;
  }
  return Smf(0, ppqn, {track.End(wait)});
}

// A format-1 file of four tracks: the tempo; "Melody", C D E an octave under the score's
// range on channel 1; "Bass", one low note on channel 2; a drum on channel 10.
inline SmfBytes ThreePartSong() {
  return Smf(1, 480,
             {TrackEvents().Tempo(0, 500000).End(),
              TrackEvents()
                  .Name(0, "Melody")
                  .On(0, 1, 60)
                  .Off(240, 1, 60)
                  .On(0, 1, 62)
                  .Off(240, 1, 62)
                  .On(240, 1, 64)
                  .Off(240, 1, 64)
                  .End(),
              TrackEvents().Name(0, "Bass").On(0, 2, 36).Off(480, 2, 36).End(),
              TrackEvents().On(0, 10, 36).Off(10, 10, 36).End()});
}

}  // namespace pendra2::melody::testing
