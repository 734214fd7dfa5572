#pragma once
// The command line of pendra2-virtual-board.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "virtual_board/board_model.h"

namespace pendra2::virtual_board {

struct BoardOptions {
  std::string name = "pendra2";
  BoardIdentity identity;
  std::array<uint16_t, 3> inputs{};
  std::string logPath;  // empty: no log
  bool noReply = false;
  bool window = false;
  bool help = false;
};

struct ParsedOptions {
  std::optional<BoardOptions> options;
  std::string error;  // why the line was refused, when options is empty
};

ParsedOptions ParseBoardOptions(std::span<const std::string> args);

inline constexpr const char* kBoardUsage =
    "usage: pendra2-virtual-board [--name NAME] [--vid HEX --pid HEX] [--version TEXT8]\n"
    "         [--status TEXT2] [--date TEXT8] [--build TEXT5]\n"
    "         [--input1 N --input2 N --input3 N] [--log FILE] [--no-reply] [--window]\n";

}  // namespace pendra2::virtual_board
