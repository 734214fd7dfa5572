#include "melody/exchange/tune_export.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "interaction/save_whole.h"
#include "melody/exchange/smf_writing.h"
#include "melody/exchange/wav_writing.h"
#include "melody/played_tune.h"

namespace pendra2::melody::exchange {
namespace {

bool EndsWith(std::string_view path, std::string_view ending) {
  if (path.size() < ending.size()) return false;
  const std::string_view tail = path.substr(path.size() - ending.size());
  return std::equal(tail.begin(), tail.end(), ending.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
}

interaction::UserMessage CutNotice(const PlayedTune& tune) {
  const long seconds = static_cast<long>(tune.columns.size()) * tune.periodMs / 1000;
  char text[256];
  std::snprintf(text, sizeof text,
                "ループをすべてくり返すと長すぎるため、はじめの %zu 列（%ld分%02ld秒）だけを"
                "書き出しました。",
                tune.columns.size(), seconds / 60, seconds % 60);
  return {text, "書き出し", interaction::PromptIcon::Information};
}

}  // namespace

interaction::FileRequest ExportRequest(ExportKind kind) {
  if (kind == ExportKind::kMidi)
    return {interaction::FileDialogKind::Save, "MIDIファイル書き出し", "MIDI FILE (*.mid)", "*.mid",
            "mid"};
  return {interaction::FileDialogKind::Save, "WAVファイル書き出し", "WAV FILE (*.wav)", "*.wav",
          "wav"};
}

std::string CompleteExportPath(std::string path, ExportKind kind) {
  if (path.find('.') == std::string::npos) path += kind == ExportKind::kMidi ? ".mid" : ".wav";
  return path;
}

std::optional<ExportKind> ExportKindOf(std::string_view path) {
  if (EndsWith(path, ".mid") || EndsWith(path, ".midi")) return ExportKind::kMidi;
  if (EndsWith(path, ".wav")) return ExportKind::kWav;
  return std::nullopt;
}

ExportBytes TuneFileBytes(const Score& score, ExportKind kind) {
  ExportBytes result;
  const PlayedTune tune = PlayOut(score);
  if (!tune.HasNotes()) {
    result.outcome = kNothingToExportMessage;
    return result;
  }
  if (tune.cut) result.cut = CutNotice(tune);
  auto bytes = kind == ExportKind::kMidi ? MidiBytes(tune) : WavBytes(tune);
  if (!bytes) {
    result.outcome = kExportFailedMessage;
    return result;
  }
  result.bytes = std::move(*bytes);
  return result;
}

Exported ExportTune(const Score& score, const std::string& path, ExportKind kind) {
  Exported exported;
  ExportBytes file = TuneFileBytes(score, kind);
  if (!file.outcome.ok()) {
    exported.outcome = file.outcome;
    return exported;
  }
  switch (interaction::SaveWhole(path, file.bytes).result) {
    case interaction::SaveResult::kSaved:
      break;
    case interaction::SaveResult::kMayBeDamaged:
      exported.outcome = interaction::kSaveMayHaveDamagedFile;
      return exported;
    case interaction::SaveResult::kUnchanged:
      exported.outcome = kExportFailedMessage;
      return exported;
  }
  exported.notice = std::move(file.cut);
  return exported;
}

}  // namespace pendra2::melody::exchange
