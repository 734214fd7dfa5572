#pragma once
// The tune written out for other programs: as a MIDI file or as a WAV recording, its loops
// played out as the board plays them, saved as the suite saves every file (whole or not at
// all, see interaction/save_whole.h).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interaction/file_chooser.h"
#include "interaction/user_message.h"
#include "melody/score.h"

namespace pendra2::melody::exchange {

enum class ExportKind { kMidi, kWav };

inline constexpr interaction::MessageText kNothingToExportMessage{
    "曲に音符がないため、書き出しませんでした。", "Error Message",
    interaction::PromptIcon::Warning};
inline constexpr interaction::MessageText kExportFailedMessage{
    "ファイルを書き出せませんでした。", "Error Message", interaction::PromptIcon::Warning};
inline constexpr interaction::MessageText kExportCutMessage{
    "ループをすべてくり返すと10分をこえるため、はじめの10分だけを書き出しました。", "書き出し",
    interaction::PromptIcon::Information};

interaction::FileRequest ExportRequest(ExportKind kind);
// ".mid" or ".wav" appended when the chosen path has no '.' anywhere, as the tune's own save.
std::string CompleteExportPath(std::string path, ExportKind kind);
// By the path's extension (.mid, .midi, .wav, in any case); nothing for another.
std::optional<ExportKind> ExportKindOf(std::string_view path);

struct ExportBytes {
  interaction::Outcome outcome;
  std::vector<uint8_t> bytes;
  // The loops played longer than a file takes (melody/played_tune.h): how much is in it.
  std::optional<interaction::UserMessage> cut;
};

// The file's bytes; a tune without a single note is refused.
ExportBytes TuneFileBytes(const Score& score, ExportKind kind);

struct Exported {
  interaction::Outcome outcome;
  std::optional<interaction::UserMessage> notice;  // written, but cut short (ExportBytes::cut)
};

// The bytes saved as `path`; a failed save leaves the file that stood there as it was.
Exported ExportTune(const Score& score, const std::string& path, ExportKind kind);

}  // namespace pendra2::melody::exchange
