#pragma once
// Where the commands put what they make: a file written whole or not at all (beside the
// target, then renamed over it, as the editors save), never over the command's own input.

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

// A file-to-be beside `target` (through a link, beside the file it leads to), or nothing
// after telling why when the target cannot be reached. Targets that are not plain files
// (/dev/null, a pipe) are written directly, so `file` is then the target itself.
struct PendingOutput {
  std::string file;    // write here
  std::string target;  // then Commit() moves it here
};
std::optional<PendingOutput> PrepareOutput(const std::string& target, Streams io);
// Renames the written file into place; on failure removes it. kDone or kFileError.
int CommitOutput(const PendingOutput& pending, Streams io);
void DiscardOutput(const PendingOutput& pending);

// The bytes to `target`, whole or not at all. kDone or kFileError with the reason.
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
