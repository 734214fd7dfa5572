#include "melody/tune_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "interaction/save_whole.h"

namespace pendra2::melody {
namespace {

constexpr std::size_t kTempoPairOffset = 64;
constexpr std::size_t kCurrentCellsOffset = 66;
constexpr std::size_t kOlderCellsOffset = 64;
constexpr std::size_t kVersionField = 16;

int Word(const TuneHeader& header, std::size_t offset) {
  return header[offset] | (header[offset + 1] << 8);
}

void PutWord(TuneHeader& header, std::size_t offset, int value) {
  header[offset] = static_cast<uint8_t>(value & 0xFF);
  header[offset + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

SavedTune TuneForSaving(const Score& score, const TuneHeader& header) {
  SavedTune saved{score, header, {}};
  Normalise(saved.score);
  TuneHeader& head = saved.header;
  head[0] = 'O';
  head[1] = 'L';
  head[2] = 0x58;
  head[3] = head[4] = head[5] = 0;
  PutWord(head, 6, saved.score.length);
  // The version text with its terminator; the rest of its field is padding and stays.
  std::copy(kVersionText.begin(), kVersionText.end(), head.begin() + 8);
  head[8 + kVersionText.size()] = 0;
  static_assert(kVersionText.size() < kVersionField);
  PutWord(head, 24, saved.score.tempoIndex);

  saved.bytes.assign(head.begin(), head.end());
  saved.bytes.insert(saved.bytes.end(), saved.score.tempoPair.begin(), saved.score.tempoPair.end());
  saved.bytes.insert(saved.bytes.end(), saved.score.cells.begin(),
                     saved.score.cells.begin() + kFileCells);
  return saved;
}

interaction::Outcome SaveTune(Score& score, TuneHeader& header, const std::string& path) {
  // Worked on copies: a save that fails leaves the score and header as the user had them.
  SavedTune saved = TuneForSaving(score, header);
  switch (interaction::SaveWhole(path, saved.bytes).result) {
    case interaction::SaveResult::kSaved:
      break;
    case interaction::SaveResult::kMayBeDamaged:
      return interaction::kSaveMayHaveDamagedFile;
    case interaction::SaveResult::kUnchanged:
      return kSaveErrorMessage;
  }
  saved.score.modified = false;
  score = saved.score;
  header = saved.header;
  return {};
}

bool HasTuneMagic(std::span<const uint8_t> bytes) {
  return bytes.size() >= 2 && bytes[0] == 'O' && bytes[1] == 'L';
}

LoadFindings JudgeTune(std::span<const uint8_t> bytes) {
  LoadFindings findings;
  findings.bytesRead = bytes.size();
  findings.stepcraftProgram = bytes.size() >= 2 && bytes[0] == 'F' && bytes[1] == 'L';
  if (bytes.size() < kTuneHeaderSize) {
    findings.verdict = TuneVerdict::kShorterThanHeader;
    return findings;
  }
  if (!HasTuneMagic(bytes)) {
    findings.verdict = TuneVerdict::kNotATune;
    return findings;
  }
  findings.currentLayout = bytes[2] == 'X';
  findings.headerTempoIndex = bytes[24] | (bytes[25] << 8);
  findings.tempoOutOfRange = !IsTempoIndex(findings.headerTempoIndex);
  // Both layouts end at the same offset: 66 + 510 and 64 + 512.
  if (bytes.size() < kTuneFileSize) findings.verdict = TuneVerdict::kCutShort;
  return findings;
}

LoadFindings LoadTuneBytes(Score& score, TuneHeader& header, std::span<const uint8_t> bytes) {
  const LoadFindings findings = JudgeTune(bytes);
  if (findings.refused()) return findings;
  std::copy_n(bytes.begin(), kTuneHeaderSize, header.begin());

  score.cells = EmptyCells();
  SetTempoIndex(score, findings.headerTempoIndex);
  std::size_t cellsOffset = kOlderCellsOffset;
  std::size_t cellCount = kCellCount;
  if (findings.currentLayout) {
    for (std::size_t i = 0; i < 2 && kTempoPairOffset + i < bytes.size(); ++i) {
      score.tempoPair[i] = bytes[kTempoPairOffset + i];
    }
    cellsOffset = kCurrentCellsOffset;
    cellCount = kFileCells;
  }
  if (bytes.size() > cellsOffset) {
    const auto n = std::min(bytes.size() - cellsOffset, cellCount);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(cellsOffset), n, score.cells.begin());
  }
  score.length = Word(header, 6);
  score.modified = false;
  return findings;
}

std::string_view FileNameOf(std::string_view path) {
  // In UTF-8 no byte of a multi-byte character is a '\', so every one separates folders.
  const auto cut = path.find_last_of("/\\");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

LoadResult LoadTune(Score& score, TuneHeader& header, const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return {false, kLoadErrorMessage, {}, {}};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {false, kLoadErrorMessage, {}, {}};
  std::array<uint8_t, kTuneFileSize> bytes{};
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return {false, kLoadErrorMessage, {}, {}};
  const auto count = static_cast<std::size_t>(in.gcount());
  const LoadFindings findings = LoadTuneBytes(score, header, std::span(bytes).first(count));
  const std::string_view name = FileNameOf(path);
  if (findings.refused()) {
    const auto& refusal = findings.stepcraftProgram ? kProgramNotATuneMessage : kNotATuneMessage;
    return {false, interaction::NamingFile(refusal, name), {}, findings};
  }
  LoadResult result{true, {}, {}, findings};
  if (findings.verdict == TuneVerdict::kCutShort) {
    result.warning = interaction::NamingFile(kTuneCutShortMessage, name);
  }
  return result;
}

}  // namespace pendra2::melody
