#include "melody/exchange/smf_framing.h"

#include <algorithm>
#include <optional>

namespace pendra2::melody::exchange {
namespace {

constexpr std::size_t kChunkHeader = 8;
constexpr std::size_t kHeaderData = 6;
// libsmf sums the deltas of a track in an int: a track is refused long before that could
// overflow (2^28 pulses are days of music at any resolution).
constexpr uint64_t kMaxTrackPulses = uint64_t{1} << 28;

constexpr uint8_t kMeta = 0xFF;
constexpr uint8_t kSysEx = 0xF0;
constexpr uint8_t kEscape = 0xF7;
constexpr uint8_t kEndOfTrack = 0x2F;
constexpr uint8_t kTempo = 0x51;
constexpr uint8_t kTimeSignature = 0x58;

uint32_t Be32(std::span<const uint8_t> b, std::size_t at) {
  return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

uint16_t Be16(std::span<const uint8_t> b, std::size_t at) {
  return static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}

bool IsId(std::span<const uint8_t> b, std::size_t at, const char (&id)[5]) {
  return std::equal(id, id + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

struct Quantity {
  uint32_t value = 0;
  std::size_t next = 0;  // the position after it
};

// A variable-length quantity of at most four bytes (as libsmf reads them) lying whole in `b`.
std::optional<Quantity> Vlq(std::span<const uint8_t> b, std::size_t at) {
  Quantity q;
  for (int n = 0; n < 4; ++n, ++at) {
    if (at >= b.size()) return std::nullopt;
    q.value = q.value << 7 | (b[at] & 0x7F);
    if ((b[at] & 0x80) == 0) {
      q.next = at + 1;
      return q;
    }
  }
  return std::nullopt;
}

// The events of one track chunk, up to its end-of-track event.
SmfVerdict CheckTrack(std::span<const uint8_t> body) {
  std::size_t at = 0;
  uint8_t running = 0;  // the status running status repeats; meta and system events end it
  uint64_t pulses = 0;
  while (at < body.size()) {
    const auto delta = Vlq(body, at);
    if (!delta || delta->next >= body.size()) return SmfVerdict::kDamaged;
    pulses += delta->value;
    if (pulses > kMaxTrackPulses) return SmfVerdict::kDamaged;
    at = delta->next;
    uint8_t status = body[at];
    if (status < 0x80) {
      if (running == 0) return SmfVerdict::kDamaged;
      status = running;
    } else {
      ++at;
    }
    if (status < kSysEx) {
      // Program change and channel pressure carry one data byte, the others two.
      const std::size_t data = (status & 0xE0) == 0xC0 ? 1 : 2;
      if (body.size() - at < data) return SmfVerdict::kDamaged;
      for (std::size_t i = 0; i < data; ++i) {
        if (body[at + i] >= 0x80) return SmfVerdict::kDamaged;
      }
      at += data;
      running = status;
      continue;
    }
    running = 0;
    if (status == kEscape) return SmfVerdict::kUnsupported;
    if (status != kMeta && status != kSysEx) return SmfVerdict::kDamaged;
    uint8_t type = 0;
    if (status == kMeta) {
      if (at >= body.size() || body[at] >= 0x80) return SmfVerdict::kDamaged;
      type = body[at++];
    }
    const auto length = Vlq(body, at);
    if (!length || length->value > body.size() - length->next) return SmfVerdict::kDamaged;
    at = length->next + length->value;
    if (status != kMeta) continue;
    // libsmf reads these two at fixed places, whatever length the file gives them.
    if ((type == kTempo && length->value != 3) || (type == kTimeSignature && length->value != 4))
      return SmfVerdict::kDamaged;
    // What follows the end of the track is never read.
    if (type == kEndOfTrack) return SmfVerdict::kSound;
  }
  return SmfVerdict::kDamaged;
}

}  // namespace

SmfFraming FrameSmf(std::span<const uint8_t> bytes) {
  SmfFraming result;
  if (bytes.size() < 4 || !IsId(bytes, 0, "MThd")) {
    result.verdict = SmfVerdict::kNotMidi;
    return result;
  }
  if (bytes.size() < kChunkHeader + kHeaderData) return result;
  const uint32_t headerLength = Be32(bytes, 4);
  if (headerLength < kHeaderData || headerLength > bytes.size() - kChunkHeader) return result;
  const uint16_t format = Be16(bytes, 8);
  const uint16_t declared = Be16(bytes, 10);
  const uint16_t division = Be16(bytes, 12);
  if (format > 2 || division == 0) return result;
  if (format == 2 || (division & 0x8000) != 0) {
    result.verdict = SmfVerdict::kUnsupported;
    return result;
  }

  result.framed.assign(bytes.begin(), bytes.begin() + kChunkHeader + kHeaderData);
  result.framed[4] = result.framed[5] = result.framed[6] = 0;
  result.framed[7] = kHeaderData;
  std::size_t at = kChunkHeader + headerLength;
  while (result.tracks < declared) {
    if (bytes.size() - at < kChunkHeader) return result;
    const uint32_t length = Be32(bytes, at + 4);
    if (length > bytes.size() - at - kChunkHeader) return result;
    const std::size_t end = at + kChunkHeader + length;
    if (IsId(bytes, at, "MTrk")) {
      const SmfVerdict track = CheckTrack(bytes.subspan(at + kChunkHeader, length));
      if (track != SmfVerdict::kSound) {
        result.verdict = track;
        return result;
      }
      result.framed.insert(result.framed.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                           bytes.begin() + static_cast<std::ptrdiff_t>(end));
      ++result.tracks;
    }
    at = end;
  }
  result.framed[10] = static_cast<uint8_t>(result.tracks >> 8);
  result.framed[11] = static_cast<uint8_t>(result.tracks & 0xFF);
  result.verdict = SmfVerdict::kSound;
  return result;
}

}  // namespace pendra2::melody::exchange
