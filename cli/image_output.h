#pragma once
// How the image commands hand a board image over: raw bytes or hex lines, to standard
// output or to a file.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "cli/cli.h"

namespace pendra2::cli {

// Writes the image (as 16 bytes per line of "%02X" cells with --hex) to `out`, or to
// io.out when there is none; kDone, or kFileError with the reason on io.err.
int WriteImage(std::span<const uint8_t> image, bool hex, const std::optional<std::string>& out,
               Streams io);

}  // namespace pendra2::cli
