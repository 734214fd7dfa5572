#pragma once
// Where the commands put what they make: a file saved as the editors save theirs, never over
// the command's own input.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/cli.h"

namespace pendra2::cli {

// The output names the input file itself (also through links or another spelling).
bool OutputIsInput(const std::string& input, const std::string& output);
// kDone, or kFileError after saying that the output would destroy the input.
int RefuseOutputIsInput(const std::string& input, const std::string& output, Streams io);

// The bytes to `target`, saved as the editors save (interaction::SaveWhole): whole or not at
// all, but for a file whose folder cannot be written, which is written in place. Targets that
// are not plain files (/dev/null, a pipe) are written directly. kDone, or kFileError with the
// reason.
int WriteOutputFile(const std::string& target, std::string_view bytes, Streams io);

// The image command's options, parsed once for both document kinds.
struct ImageOptions {
  std::string file;
  std::optional<std::string> out;
  bool hex = false;
};
std::optional<ImageOptions> ParseImageOptions(Args args, Streams io);

// The image as raw bytes or as 32 lines of 16 "%02X" cells (--hex), to its file or to
// io.out. Raw bytes are not sent to a terminal.
int WriteImage(std::span<const uint8_t> image, const ImageOptions& options, Streams io);

}  // namespace pendra2::cli
