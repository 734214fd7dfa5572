#pragma once
// .olg tune files: a 64-byte header, the tempo pair, then the columns.
//
// Offset  0  "OL"
//         2  32-bit 0x58 (byte 2 'X' marks the current layout with the tempo pair)
//         6  length, 16-bit little-endian
//         8  version text, NUL-terminated, in a 16-byte field
//        24  tempoIndex, 16-bit little-endian
//        64  'T', tempo byte (current layout only)
//        66  positions 0..509 (older layout: 64.. positions 0..511)

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "interaction/user_message.h"
#include "melody/score.h"

namespace pendra2::melody {

inline constexpr std::size_t kTuneHeaderSize = 64;
inline constexpr std::size_t kTuneFileSize = 576;
inline constexpr std::string_view kVersionText = "2.53.60";

inline constexpr interaction::MessageText kSaveErrorMessage{"Save File Open Error",
                                                            "Error Message"};
inline constexpr interaction::MessageText kLoadErrorMessage{"Load File Open Error",
                                                            "Error Message"};

// The process's one header buffer. Padding and reserved bytes are written back as the
// last loaded file held them, so a tune passed through the editor keeps them.
using TuneHeader = std::array<uint8_t, kTuneHeaderSize>;

// Oddities of a loaded file; the editor loads such files anyway, tools may refuse them.
struct LoadFindings {
  std::size_t bytesRead = 0;
  bool badMagic = false;         // not "OL"
  bool currentLayout = false;    // byte 2 is 'X'
  bool shortFile = false;        // less than the layout needs
  bool tempoOutOfRange = false;  // header tempo index outside the table, taken as the default
  int headerTempoIndex = 0;
};

struct LoadResult {
  bool ok = false;
  interaction::UserMessage message{};  // set when !ok
  LoadFindings findings{};
};

// Normalises and writes the score as interaction::SaveWhole does: a failed save leaves the
// previous file whole (kSaveErrorMessage), but for a file written in place, whose folder the
// user may not write (interaction::kSaveMayHaveDamagedFile); on failure the score stays
// marked changed.
interaction::Outcome SaveTune(Score& score, TuneHeader& header, const std::string& path);

// Replaces the score with the file's contents; on failure nothing changes.
LoadResult LoadTune(Score& score, TuneHeader& header, const std::string& path);

// The same load over bytes already in memory (a file that could be opened).
LoadFindings LoadTuneBytes(Score& score, TuneHeader& header, std::span<const uint8_t> bytes);

}  // namespace pendra2::melody
