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
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// The refusals and the warning name the file: "%s" stands for its name without folders.
inline constexpr interaction::MessageText kNotATuneMessage{
    "「%s」は読み込めません。\nチャイムクラフトのオルゴールファイルではありません。",
    "Error Message"};
inline constexpr interaction::MessageText kProgramNotATuneMessage{
    "「%s」は読み込めません。\nステップクラフトのアクティビティ図ファイルです。\n"
    "ステップクラフトで開いてください。",
    "Error Message"};
inline constexpr interaction::MessageText kTuneCutShortMessage{
    "「%s」は途中で切れています。\nファイルにない列は空になっています。", "注意！！",
    interaction::PromptIcon::Warning};

// What a file's bytes are as a tune. Chimecraft and pendra2-cli open or refuse a file by
// this alone, so the two can never disagree about one.
enum class TuneVerdict {
  kWhole,              // opens
  kCutShort,           // opens; the positions it does not reach stay empty (worth a warning)
  kShorterThanHeader,  // refused: not even the 64-byte header
  kNotATune,           // refused: does not begin with "OL"
};

struct LoadFindings {
  TuneVerdict verdict = TuneVerdict::kWhole;
  std::size_t bytesRead = 0;
  bool currentLayout = false;    // byte 2 is 'X'
  bool tempoOutOfRange = false;  // header tempo index outside the table, taken as the default
  int headerTempoIndex = 0;
  // Begins with "FL", as Stepcraft's programs do: a refusal can say what the file is.
  bool stepcraftProgram = false;
  bool refused() const {
    return verdict == TuneVerdict::kShorterThanHeader || verdict == TuneVerdict::kNotATune;
  }
};

bool HasTuneMagic(std::span<const uint8_t> bytes);

// Judges the bytes without loading them. A tempo index outside the table is no reason to
// refuse a tune: the load takes the default row instead.
LoadFindings JudgeTune(std::span<const uint8_t> bytes);

struct LoadResult {
  bool ok = false;
  interaction::UserMessage message{};  // set when !ok
  // A tune that opened cut short: what to tell once it is in view.
  std::optional<interaction::UserMessage> warning;
  LoadFindings findings{};
};

// `path` without its folders ('/' and '\' both separate them), as titles and messages name
// the file.
std::string_view FileNameOf(std::string_view path);

// What a save writes: the normalised score, the header as it will stand, and the file's bytes.
struct SavedTune {
  Score score;
  TuneHeader header{};
  std::vector<uint8_t> bytes;
};
SavedTune TuneForSaving(const Score& score, const TuneHeader& header);

// Normalises and writes the score as interaction::SaveWhole does: a failed save leaves the
// previous file whole (kSaveErrorMessage), but for a file written in place, whose folder the
// user may not write (interaction::kSaveMayHaveDamagedFile); on failure the score stays
// marked changed.
interaction::Outcome SaveTune(Score& score, TuneHeader& header, const std::string& path);

// Replaces the score and header with the file's contents. A file that cannot be read or that
// JudgeTune refuses changes nothing; the result carries the message naming it.
LoadResult LoadTune(Score& score, TuneHeader& header, const std::string& path);

// The same load over bytes already in memory (a file that could be opened): nothing changes
// when the findings say refused.
LoadFindings LoadTuneBytes(Score& score, TuneHeader& header, std::span<const uint8_t> bytes);

}  // namespace pendra2::melody
