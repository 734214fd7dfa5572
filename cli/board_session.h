#pragma once
// What every board command of pendra2-cli does first (find the board) and how a whole image
// goes to the board, with the messages and exit statuses the commands share.

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

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

// A board command's arguments with `--board NAME|PATH|N` (or --board=...) taken out.
struct BoardArgs {
  std::vector<std::string> rest;
  std::string board;  // empty: not given
};
// Nothing, with the message written, when --board has no value or comes twice.
std::optional<BoardArgs> TakeBoardOption(Args args, Streams io);

// Makes the process's transport (virtual boards when PENDRA2_VIRTUAL_BOARDS is set) and runs
// discovery for the board `wanted` names (see device::ChooseBoard), or for the one board
// attached when it names none. kDone when a usable board was found. Otherwise the message is
// written: with the list for several boards and none chosen (kUsage) or a board named that
// is not attached (kNoBoard), with a hint for a board that is there but cannot be opened.
int ConnectBoard(BoardSession& session, Streams io, const std::string& wanted = {});

// The same over a given transport (tests pass a fake).
int ConnectBoard(BoardSession& session, std::unique_ptr<device::Transport> transport, Streams io,
                 const std::string& wanted = {});

// A reply wait the environment got wrong is reported (once per command), and the default used.
void WarnAboutReplyTimeout(Streams io);

// The message for a platform that cannot list its HID interfaces at all.
void SayInterfaceListUnavailable(Streams io);

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

// Why a board found for one of many jobs cannot be used (gone since it was listed, silent,
// its channels shut); empty when it can.
std::string NotUsable(const device::Board& board);

// After a write that went through, when asked to: the board starts its new program, and
// the user is told whether it did.
int StartAfterWrite(device::Board& board, Streams io);

// The last exchange failed because another program kept the board for too long.
bool KeptBusy(const device::Board& board);

// Why the last exchange failed: "the board did not answer", another program kept it busy,
// or what broke with the platform's own words; kBoardFailed.
int NoAnswer(const device::Board& board, Streams io);

}  // namespace pendra2::cli
