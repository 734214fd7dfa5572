#pragma once
// How the cores save a document: the bytes go into a new file beside it, which takes the
// document's place only once every byte is written, so a failed save leaves the previous file
// as it was. The new file is created exclusively under a name of its own: a file or link that
// already stands beside the document (a leftover, or one planted in a shared folder) is never
// written through.

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace pendra2::interaction {

// Calls `write(FILE*)` on the new file; true when it returned true, every byte reached the
// file and the file took the place of `path`.
template <typename Write>
bool SaveWhole(const std::filesystem::path& path, const Write& write) {
  std::random_device random;
  for (int attempt = 0; attempt < 8; ++attempt) {
    std::filesystem::path temporary = path;
    temporary += ".saving-" + std::to_string(random() % 1000000);
    std::FILE* file = std::fopen(temporary.string().c_str(), "wbx");
    if (file == nullptr) {
      if (errno == EEXIST) continue;
      return false;
    }
    bool written = write(file);
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    std::error_code ec;
    if (written) std::filesystem::rename(temporary, path, ec);
    if (!written || ec) {
      std::filesystem::remove(temporary, ec);
      return false;
    }
    return true;
  }
  return false;
}

}  // namespace pendra2::interaction
