#pragma once
// pendra2-cli's manual page in roff, written from the very texts `--help` prints, so the two
// can never tell different stories.

#include <ostream>
#include <span>
#include <string_view>

namespace pendra2::cli {

struct CommandHelp {
  std::string_view usage;  // "image FILE [-o OUT] [--hex]"
  std::string_view help;   // what it does, then "  TERM   description" lines
};

struct ManPageTexts {
  std::string_view version;
  std::span<const CommandHelp> commands;
  std::string_view environment;  // "  NAME=VALUE   description" lines
  std::string_view exitStatuses;
};

void WriteManPage(std::ostream& out, const ManPageTexts& texts);

}  // namespace pendra2::cli
