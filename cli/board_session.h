#pragma once
// What every board command of pendra2-cli does first (find the board) and how a whole image
// goes to the board, with the messages and exit statuses the commands share.

#include <memory>
#include <span>

#include "cli/cli.h"
#include "device/board.h"
#include "device/transport.h"

namespace pendra2::cli {

struct BoardSession {
  std::unique_ptr<device::Transport> transport;
  std::unique_ptr<device::Board> board;
};

// Makes the process's transport (virtual boards when PENDRA2_VIRTUAL_BOARDS is set) and runs
// discovery. kDone when a board was found; otherwise the message is written and the status
// (kNoBoard) returned.
int ConnectBoard(BoardSession& session, Streams io);

// The same over a given transport (tests pass a fake).
int ConnectBoard(BoardSession& session, std::unique_ptr<device::Transport> transport, Streams io);

// The image write with a progress line on a terminal. kDone, or kBoardFailed with a message
// telling that the board may hold an incomplete image.
int WriteBoardImage(device::Board& board, std::span<const uint8_t, device::kImageBytes> image,
                    Streams io);

inline constexpr const char* kNoAnswerText = "pendra2-cli: the board did not answer\n";

}  // namespace pendra2::cli
