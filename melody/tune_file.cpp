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

interaction::Outcome SaveTune(Score& score, TuneHeader& header, const std::string& path) {
  // Worked on copies: a save that fails leaves the score and header as the user had them.
  Score saved = score;
  Normalise(saved);
  TuneHeader head = header;
  head[0] = 'O';
  head[1] = 'L';
  head[2] = 0x58;
  head[3] = head[4] = head[5] = 0;
  PutWord(head, 6, saved.length);
  // The version text with its terminator; the rest of its field is padding and stays.
  std::copy(kVersionText.begin(), kVersionText.end(), head.begin() + 8);
  head[8 + kVersionText.size()] = 0;
  static_assert(kVersionText.size() < kVersionField);
  PutWord(head, 24, saved.tempoIndex);

  std::vector<uint8_t> bytes(head.begin(), head.end());
  bytes.insert(bytes.end(), saved.tempoPair.begin(), saved.tempoPair.end());
  bytes.insert(bytes.end(), saved.cells.begin(), saved.cells.begin() + kFileCells);
  switch (interaction::SaveWhole(path, bytes).result) {
    case interaction::SaveResult::kSaved:
      break;
    case interaction::SaveResult::kMayBeDamaged:
      return interaction::kSaveMayHaveDamagedFile;
    case interaction::SaveResult::kUnchanged:
      return kSaveErrorMessage;
  }
  saved.modified = false;
  score = saved;
  header = head;
  return {};
}

LoadFindings LoadTuneBytes(Score& score, TuneHeader& header, std::span<const uint8_t> bytes) {
  LoadFindings findings;
  findings.bytesRead = bytes.size();
  // A header cut short is completed with zeros, never with bytes of an earlier file.
  header.fill(0);
  const auto headerBytes = std::min(bytes.size(), kTuneHeaderSize);
  std::copy_n(bytes.begin(), headerBytes, header.begin());
  findings.badMagic = header[0] != 'O' || header[1] != 'L';
  findings.currentLayout = header[2] == 'X';

  score.cells = EmptyCells();
  findings.headerTempoIndex = Word(header, 24);
  findings.tempoOutOfRange = !IsTempoIndex(findings.headerTempoIndex);
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
  findings.shortFile = bytes.size() < cellsOffset + cellCount;
  score.length = Word(header, 6);
  score.modified = false;
  return findings;
}

LoadResult LoadTune(Score& score, TuneHeader& header, const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return {false, kLoadErrorMessage, {}};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {false, kLoadErrorMessage, {}};
  std::array<uint8_t, kTuneFileSize> bytes{};
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return {false, kLoadErrorMessage, {}};
  const auto count = static_cast<std::size_t>(in.gcount());
  return {true, {}, LoadTuneBytes(score, header, std::span(bytes).first(count))};
}

}  // namespace pendra2::melody
