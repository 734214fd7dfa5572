#include "cli/board_session.h"

#include <cstdlib>

#include "cli/documents.h"
#include "cli/terminal.h"
#include "device/link_image_writer.h"
#include "device/reply_timeout.h"
#include "device/transport_factory.h"

namespace pendra2::cli {
namespace {

void SayWhyNoBoard(device::Transport& transport, Streams io) {
  // Discovery passes over a board it cannot open; the list still names it.
  const device::InterfaceList list = transport.Enumerate();
  for (const auto& i : list.interfaces) {
    if (!device::IsBoard(i.vendorId, i.productId)) continue;
    io.err << "pendra2-cli: a Pendra2 board is attached at " << i.path
           << " but cannot be opened (another program holds it, or this user may not use it;\n"
              "  on Linux install the udev rule: see \"Using a real board on Linux\" in the "
              "README)\n";
    return;
  }
  io.err << "pendra2-cli: no Pendra2 board found: is it plugged in? "
            "(`pendra2-cli boards` lists what is attached)\n";
}

void WarnAboutReplyTimeout(Streams io) {
  const char* text = std::getenv("PENDRA2_REPLY_TIMEOUT_MS");
  if (text == nullptr || device::ReplyTimeoutSettingValid(text)) return;
  io.err << "pendra2-cli: warning: PENDRA2_REPLY_TIMEOUT_MS='" << text
         << "' is not a whole number of milliseconds from 1 to 600000; using "
         << device::kDefaultReplyTimeoutMs << "\n";
}

}  // namespace

int ConnectBoard(BoardSession& session, Streams io) {
  return ConnectBoard(session, device::MakeTransport(), io);
}

int ConnectBoard(BoardSession& session, std::unique_ptr<device::Transport> transport, Streams io) {
  WarnAboutReplyTimeout(io);
  session.board.reset();
  session.transport = std::move(transport);
  session.board = std::make_unique<device::Board>(*session.transport);
  session.board->SetLockWaitNotice([io](const std::string& path) {
    io.err << "pendra2-cli: waiting for another program that is using the board at " << path
           << " ...\n"
           << std::flush;
  });
  const int result = session.board->FindBoard();
  if (result == device::kInterfaceListUnavailable) {
    io.err << "pendra2-cli: " << device::kInterfaceListCaption << ": " << device::kInterfaceListText
           << " (the list of HID interfaces cannot be read)\n";
    return kNoBoard;
  }
  if (result != device::kBoardFound) {
    SayWhyNoBoard(*session.transport, io);
    return kNoBoard;
  }
  const device::BoardLink& link = session.board->link();
  if (!link.responding) {
    io.err << "pendra2-cli: the Pendra2 board at " << link.devicePath
           << " is there but does not answer; plug it in again\n";
    return kBoardFailed;
  }
  if (link.writeChannel == device::kNoHandle || link.readChannel == device::kNoHandle) {
    io.err << "pendra2-cli: the Pendra2 board at " << link.devicePath
           << " was found but cannot be opened for writing and reading\n"
              "  (on Linux install the udev rule: see \"Using a real board on Linux\" in the "
              "README)\n";
    return kNoBoard;
  }
  return kDone;
}

bool TerminalImageWriter::WriteImage(std::span<const uint8_t, board_image::kImageBytes> image) {
  const bool terminal = IsTerminal(io_.err);
  Streams io = io_;
  device::LinkImageWriter write(board_, [terminal, io](int block) {
    if (terminal) io.err << "\rwriting block " << block + 1 << "/8" << std::flush;
  });
  const bool ok = write.WriteImage(image);
  if (terminal) io.err << "\n";
  return ok;
}

bool KeptBusy(const device::Board& board) {
  return board.lastError().reason == device::LinkFailure::kBusy;
}

int NoAnswer(const device::Board& board, Streams io) {
  const device::LinkError& error = board.lastError();
  switch (error.reason) {
    case device::LinkFailure::kBusy:
      io.err << "pendra2-cli: another program kept the board busy for too long; try again\n";
      break;
    case device::LinkFailure::kNone:
    case device::LinkFailure::kNoAnswer:
      io.err << "pendra2-cli: the board did not answer\n";
      break;
    default:
      io.err << "pendra2-cli: " << device::Describe(error) << "\n";
      break;
  }
  return kBoardFailed;
}

}  // namespace pendra2::cli
