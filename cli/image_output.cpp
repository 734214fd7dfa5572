#include "cli/image_output.h"

#include <cstdio>
#include <fstream>

namespace pendra2::cli {
namespace {

std::string HexLines(std::span<const uint8_t> image) {
  std::string text;
  char cell[4];
  for (std::size_t i = 0; i < image.size(); ++i) {
    std::snprintf(cell, sizeof cell, "%02X", image[i]);
    text += cell;
    text += (i % 16 == 15) ? '\n' : ' ';
  }
  return text;
}

}  // namespace

int WriteImage(std::span<const uint8_t> image, bool hex, const std::optional<std::string>& out,
               Streams io) {
  const std::string bytes = hex ? HexLines(image) : std::string(image.begin(), image.end());
  if (!out) {
    io.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    io.out.flush();
    return kDone;
  }
  std::ofstream stream(*out, std::ios::binary | std::ios::trunc);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  stream.close();
  if (!stream) {
    io.err << "pendra2-cli: " << *out << ": cannot be written\n";
    return kFileError;
  }
  return kDone;
}

}  // namespace pendra2::cli
