#pragma once
// The outline of a Standard MIDI File, checked before libsmf reads it. libsmf 1.3 trusts the
// file: a track that does not end with its end-of-track event, an escaped event (F7), a tempo
// or time signature shorter than they must be, make it stop the program on an assertion or
// read past its buffers. So every chunk and event is checked to lie whole inside the file and
// its chunk first, and only a file libsmf reads safely reaches it.
//
// Nothing is interpreted here (no notes, no tempos): that is libsmf's work.

#include <cstdint>
#include <span>
#include <vector>

namespace pendra2::melody::exchange {

enum class SmfVerdict {
  kSound,        // libsmf may read `framed`
  kNotMidi,      // does not start with an MThd chunk
  kDamaged,      // cut short, or a chunk or event that does not hold together
  kUnsupported,  // a whole file of a kind not read here: format 2, SMPTE time, escaped events
};

struct SmfFraming {
  SmfVerdict verdict = SmfVerdict::kDamaged;
  // The header and the file's track chunks only (chunks of other kinds left out, which
  // libsmf would take for tracks), the header's track count set to theirs.
  std::vector<uint8_t> framed;
  int tracks = 0;
};

SmfFraming FrameSmf(std::span<const uint8_t> bytes);

}  // namespace pendra2::melody::exchange
