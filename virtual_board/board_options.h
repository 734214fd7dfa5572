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
  std::string logPath;    // empty: no log
  std::string tracePath;  // empty: no trace
  bool mute = false;
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
    "         [--input1 N --input2 N --input3 N] [--log FILE] [--trace FILE] [--no-reply]\n"
    "         [--window] [--mute]\n"
    "  --input1..3 N   the inputs' readings, 0 to 1023 (the window's sliders move them)\n"
    "  --trace FILE    appends one line per instruction the board runs\n"
    "  --mute          no sound on the PC (PENDRA2_MUTE=1 does the same)\n";

}  // namespace pendra2::virtual_board
