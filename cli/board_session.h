#pragma once
// What every board command of pendra2-cli does first (find the board) and how a whole image
// goes to the board, with the messages and exit statuses the commands share.

#include <memory>
#include <span>

#include "cli/cli.h"
#include "cli/documents.h"
#include "device/board.h"
#include "device/transport.h"
#include "interaction/board_image_writer.h"
#include "interaction/user_message.h"

namespace pendra2::cli {

struct BoardSession {
  std::unique_ptr<device::Transport> transport;
  std::unique_ptr<device::Board> board;
};

// Makes the process's transport (virtual boards when PENDRA2_VIRTUAL_BOARDS is set) and runs
// discovery. kDone when a usable board was found; otherwise the message (with a hint for a
// board that is there but cannot be opened) is written and kNoBoard returned.
int ConnectBoard(BoardSession& session, Streams io);

// The same over a given transport (tests pass a fake).
int ConnectBoard(BoardSession& session, std::unique_ptr<device::Transport> transport, Streams io);

// The board's image write behind the cores' writer interface, with a progress line when
// the user watches a terminal.
class TerminalImageWriter : public interaction::BoardImageWriter {
 public:
  TerminalImageWriter(device::Board& board, Streams io) : board_(board), io_(io) {}
  bool WriteImage(std::span<const uint8_t, board_image::kImageBytes> image) override;

 private:
  device::Board& board_;
  Streams io_;
};

// The last exchange failed because another program kept the board for too long.
bool KeptBusy(const device::Board& board);

// Why the last exchange failed: "the board did not answer", another program kept it busy,
// or what broke with the platform's own words; kBoardFailed.
int NoAnswer(const device::Board& board, Streams io);

}  // namespace pendra2::cli
