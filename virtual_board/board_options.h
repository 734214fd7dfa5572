#pragma once
// The command line of pendra2-virtual-board.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

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
  // Boards served by this one process, each with its own name, image, log and trace.
  int count = 1;
  // The board goes away (stops serving, every connection cut) once it has taken this many
  // reports, as a board pulled out in the middle of a write; 0 never.
  int unplugAfter = 0;
  bool window = false;
  bool help = false;
};

struct ParsedOptions {
  std::optional<BoardOptions> options;
  std::string error;  // why the line was refused, when options is empty
};

ParsedOptions ParseBoardOptions(std::span<const std::string> args);

inline constexpr int kMaxBoards = 100;

// The options of each board that `options` serves: itself when it serves one; for a count
// of N, boards NAME-1 .. NAME-N whose log and trace files are FILE-1 .. FILE-N (the number
// goes before the file's extension: class.log -> class-1.log).
std::vector<BoardOptions> EachBoard(const BoardOptions& options);

inline constexpr const char* kBoardUsage =
    "usage: pendra2-virtual-board [--name NAME] [--vid HEX --pid HEX] [--version TEXT8]\n"
    "         [--status TEXT2] [--date TEXT8] [--build TEXT5]\n"
    "         [--input1 N --input2 N --input3 N] [--log FILE] [--trace FILE] [--no-reply]\n"
    "         [--window] [--mute] [--count N] [--unplug-after N]\n"
    "  --input1..3 N   the inputs' readings, 0 to 1023 (the window's sliders move them)\n"
    "  --trace FILE    appends one line per instruction the board runs\n"
    "  --mute          no sound on the PC (PENDRA2_MUTE=1 does the same)\n"
    "  --count N       serves N boards (1 to 100), NAME-1 .. NAME-N, each with its own\n"
    "                  image; --log and --trace become one file per board (a.log: a-1.log ...)\n"
    "  --unplug-after N  the board goes away after N reports, as one pulled out mid-write\n";

}  // namespace pendra2::virtual_board
