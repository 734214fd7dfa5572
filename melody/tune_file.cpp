#include "melody/tune_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

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

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};

bool WriteAll(std::FILE* f, std::span<const uint8_t> bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

}  // namespace

SaveResult SaveTune(Score& score, TuneHeader& header, const std::string& path) {
  const std::string temporary = path + ".saving";
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(temporary.c_str(), "wb"));
  if (!file) return {false, kSaveErrorMessage};

  Normalise(score);
  header[0] = 'O';
  header[1] = 'L';
  header[2] = 0x58;
  header[3] = header[4] = header[5] = 0;
  PutWord(header, 6, score.length);
  // The version text with its terminator; the rest of its field is padding and stays.
  std::copy(kVersionText.begin(), kVersionText.end(), header.begin() + 8);
  header[8 + kVersionText.size()] = 0;
  static_assert(kVersionText.size() < kVersionField);
  PutWord(header, 24, score.tempoIndex);

  bool written = WriteAll(file.get(), header) && WriteAll(file.get(), score.tempoPair) &&
                 WriteAll(file.get(), std::span(score.cells).first(kFileCells));
  written = std::fflush(file.get()) == 0 && written;
  written = std::fclose(file.release()) == 0 && written;
  std::error_code ec;
  if (written) std::filesystem::rename(temporary, path, ec);
  if (!written || ec) {
    std::filesystem::remove(temporary, ec);
    return {false, kSaveErrorMessage};
  }
  score.modified = false;
  return {true, {}};
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
