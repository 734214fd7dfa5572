#pragma once
// pendra2-cli: every command is a function over its arguments (those after the command
// name) and two output streams, so tests can run commands in-process.

#include <ostream>
#include <span>
#include <string>

namespace pendra2::cli {

// Exit statuses are a contract with scripts and other tools.
enum Exit : int {
  kDone = 0,
  kUsage = 1,
  kFileError = 2,  // missing, unreadable or refused file
  kTooLarge = 3,   // program or tune too large for the board
  kNoBoard = 4,
  kBoardFailed = 5,  // no answer, or refused (generation check)
};

using Args = std::span<const std::string>;

struct Streams {
  std::ostream& out;
  std::ostream& err;
};

// The command line as main() sees it, without the program name. Whatever a command wrote
// to io.out must have been written whole, or the result is kFileError.
int Run(Args args, Streams io);

// Exit status after Ctrl+C, as shells report a program ended by SIGINT.
inline constexpr int kInterrupted = 130;

}  // namespace pendra2::cli
