#pragma once
// The command line run in-process, for the CLI tests and the rendering test.

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace pendra2::cli::testing {

struct CliResult {
  int status;
  std::string out, err;
};

// A command line, its words separated by spaces; "@" in a word stands for `folder`.
// Standard output goes to `out` when one is given.
inline CliResult RunCli(const std::string& line, const std::filesystem::path& folder = {},
                        std::ostream* out = nullptr) {
  std::vector<std::string> args;
  std::istringstream words(line);
  for (std::string w; words >> w;) {
    if (const auto at = w.find('@'); at != std::string::npos) w.replace(at, 1, folder.string());
    args.push_back(w);
  }
  std::ostringstream captured, err;
  const int status = Run(args, {out ? *out : captured, err});
  return {status, captured.str(), err.str()};
}

}  // namespace pendra2::cli::testing
