#include "cli/board_session.h"

#include <cstdlib>

#include "cli/board_table.h"
#include "cli/documents.h"
#include "cli/terminal.h"
#include "cli/terminal_text.h"
#include "device/board_choice.h"
#include "device/link_image_writer.h"
#include "device/reply_timeout.h"
#include "device/transport_factory.h"

namespace pendra2::cli {
namespace {

void SayWhyNoBoard(device::Transport& transport, const std::string& chosenPath, Streams io) {
  // Discovery passes over a board it cannot open; the list still names it.
  const device::InterfaceList list = transport.Enumerate();
  for (const auto& i : list.interfaces) {
    if (!device::IsBoard(i.vendorId, i.productId)) continue;
    if (!chosenPath.empty() && i.path != chosenPath) continue;
    io.err << "pendra2-cli: a Pendra2 board is attached at " << i.path
           << " but cannot be opened (another program holds it, or this user may not use it;\n"
              "  on Linux install the udev rule: see \"Using a real board on Linux\" in the "
              "README)\n";
    return;
  }
  io.err << "pendra2-cli: no Pendra2 board found: is it plugged in? "
            "(`pendra2-cli boards` lists what is attached)\n";
}

// Nothing when the choice can go to discovery; else the status, with the message written.
std::optional<int> RefuseChoice(device::Transport& transport, const std::string& wanted,
                                std::string& chosenPath, Streams io) {
  const device::InterfaceList list = transport.Enumerate();
  if (!list.ok) return std::nullopt;  // discovery says so, as ever
  const auto boards = device::AttachedBoards(list.interfaces);
  const device::BoardChoice choice = device::ChooseBoard(boards, wanted);
  switch (choice.failure) {
    case device::ChoiceFailure::kNone:
      // Only a board asked for by name is held to; without one, discovery goes as ever.
      if (!wanted.empty()) chosenPath = choice.board->interface.path;
      return std::nullopt;
    case device::ChoiceFailure::kNoBoard:
      return std::nullopt;  // discovery tells why there is none
    case device::ChoiceFailure::kSeveral:
      io.err << "pendra2-cli: " << boards.size()
             << " Pendra2 boards are attached; say which with --board NAME|PATH|N"
                " (or write into all of them with `write FILE --all`):\n";
      WriteChoices(boards, io.err);
      return kUsage;
    case device::ChoiceFailure::kUnknown:
      break;
  }
  io.err << "pendra2-cli: no attached Pendra2 board is called '" << EscapeControls(wanted) << "'";
  if (boards.empty()) {
    io.err << ", and none is attached\n";
  } else {
    io.err << "; the boards attached are:\n";
    WriteChoices(boards, io.err);
  }
  return kNoBoard;
}

}  // namespace

std::optional<BoardArgs> TakeBoardOption(Args args, Streams io) {
  BoardArgs taken;
  bool given = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string value;
    if (args[i] == "--board") {
      if (i + 1 >= args.size()) {
        io.err << "pendra2-cli: --board needs a board's name, path or number "
                  "(`pendra2-cli boards` lists them)\n";
        return std::nullopt;
      }
      value = args[++i];
    } else if (args[i].starts_with("--board=")) {
      value = args[i].substr(8);
    } else {
      taken.rest.push_back(args[i]);
      continue;
    }
    if (given || value.empty()) {
      io.err << "pendra2-cli: --board takes one board's name, path or number\n";
      return std::nullopt;
    }
    given = true;
    taken.board = std::move(value);
  }
  return taken;
}

void WarnAboutReplyTimeout(Streams io) {
  const char* text = std::getenv("PENDRA2_REPLY_TIMEOUT_MS");
  if (text == nullptr || device::ReplyTimeoutSettingValid(text)) return;
  io.err << "pendra2-cli: warning: PENDRA2_REPLY_TIMEOUT_MS='" << text
         << "' is not a whole number of milliseconds from 1 to 600000; using "
         << device::kDefaultReplyTimeoutMs << "\n";
}

void SayInterfaceListUnavailable(Streams io) {
  io.err << "pendra2-cli: " << device::kInterfaceListCaption << ": " << device::kInterfaceListText
         << " (the list of HID interfaces cannot be read)\n";
}

int ConnectBoard(BoardSession& session, Streams io, const std::string& wanted) {
  return ConnectBoard(session, device::MakeTransport(), io, wanted);
}

int ConnectBoard(BoardSession& session, std::unique_ptr<device::Transport> transport, Streams io,
                 const std::string& wanted) {
  WarnAboutReplyTimeout(io);
  session.board.reset();
  session.transport = std::move(transport);
  std::string chosenPath;
  if (const auto refused = RefuseChoice(*session.transport, wanted, chosenPath, io)) {
    return *refused;
  }
  session.board = std::make_unique<device::Board>(*session.transport);
  session.board->ChooseBoard(chosenPath);
  session.board->SetLockWaitNotice([io](const std::string& path) {
    io.err << "pendra2-cli: waiting for another program that is using the board at " << path
           << " ...\n"
           << std::flush;
  });
  const int result = session.board->FindBoard();
  if (result == device::kInterfaceListUnavailable) {
    SayInterfaceListUnavailable(io);
    return kNoBoard;
  }
  if (result != device::kBoardFound) {
    SayWhyNoBoard(*session.transport, chosenPath, io);
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

std::string NotUsable(const device::Board& board) {
  if (!board.found()) return "the board is no longer attached";
  const device::BoardLink& link = board.link();
  if (!link.responding) return "the board is there but does not answer; plug it in again";
  if (link.writeChannel == device::kNoHandle || link.readChannel == device::kNoHandle) {
    return "the board cannot be opened for writing and reading (another program holds it, or "
           "this user may not use it)";
  }
  return {};
}

int StartAfterWrite(device::Board& board, Streams io) {
  if (board.Run()) {
    io.out << "started the program in the board\n";
    return kDone;
  }
  if (KeptBusy(board)) return NoAnswer(board, io);
  io.err << "pendra2-cli: the image was written, but the board could not be started: "
         << device::Describe(board.lastError()) << "\n";
  return kBoardFailed;
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
