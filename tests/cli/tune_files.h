#pragma once
// .olg files written byte by byte for the CLI tests.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace pendra2::cli::testing {

// A current-layout tune file holding `columns`, an end mark and the given tempo row.
inline std::vector<uint8_t> TuneFile(const std::vector<int>& columns, int tempoIndex = 2,
                                     uint8_t tempoByte = 0x50) {
  std::vector<uint8_t> f(576, 0);
  const std::string magic = "OLX", version = "2.53.60";
  std::copy(magic.begin(), magic.end(), f.begin());
  std::copy(version.begin(), version.end(), f.begin() + 8);
  std::fill(f.begin() + 66, f.end(), 255);
  f[24] = static_cast<uint8_t>(tempoIndex);
  f[64] = 'T';
  f[65] = tempoByte;
  std::copy(columns.begin(), columns.end(), f.begin() + 66);
  f[66 + columns.size()] = 24;
  f[6] = static_cast<uint8_t>((columns.size() + 1) & 0xFF);
  f[7] = static_cast<uint8_t>((columns.size() + 1) >> 8);
  return f;
}

inline void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// C1, a loop repeated twice around D1, E1.
inline const std::vector<int> kLoopTune{0, 'l', 2, 2, 'L', 0, 0, 3, 4};

}  // namespace pendra2::cli::testing
