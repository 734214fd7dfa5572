#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include "cli/board_session.h"
#include "cli/board_table.h"
#include "cli/commands.h"
#include "cli/numbers.h"
#include "cli/write_all.h"
#include "device/board_choice.h"
#include "device/board_generation.h"
#include "device/board_info.h"
#include "device/each_board.h"
#include "device/reply_timeout.h"
#include "device/transport_factory.h"
#include "flowchart/transfer.h"
#include "melody/codes.h"

namespace pendra2::cli {
namespace {

namespace fc = pendra2::flowchart;

bool NoArguments(Args args, std::string_view command, Streams io) {
  if (args.empty()) return true;
  io.err << "pendra2-cli: " << command << " takes no arguments\n";
  return false;
}

int WriteFlow(const InputFile& file, const WriteTarget& target, Streams io) {
  const auto program = LoadFlow(file, io);
  if (!program) return kFileError;
  // Too large wins over every board question, as for tunes: nothing is looked for or sent.
  if (program->imageSize > fc::kImageBytes - 1) {
    Tell(fc::kTooLargeMessage, io);
    io.err << "  (" << file.path << " needs " << program->imageSize << " bytes)\n";
    return kTooLarge;
  }
  if (target.all) return WriteAll(file, *program, target.run, io);
  BoardSession session;
  if (const int status = ConnectBoard(session, io, target.board); status != kDone) return status;
  device::BoardGeneration generation(*session.board);
  TerminalImageWriter writer(*session.board, io);
  const fc::TransferResult result = fc::Transfer(*program, generation, writer);
  switch (result.step) {
    case fc::TransferStep::kSent:
      io.out << "wrote " << file.path << " to the board (" << program->imageSize
             << " program bytes, 512-byte image)\n";
      return target.run ? StartAfterWrite(*session.board, io) : kDone;
    case fc::TransferStep::kTooLarge:
      Tell(result.outcome.message(), io);
      return kTooLarge;
    case fc::TransferStep::kNoAnswer:
      if (KeptBusy(*session.board)) return NoAnswer(*session.board, io);
      Tell(result.outcome.message(), io);
      io.err << "  (the board did not answer; nothing was written)\n";
      return kBoardFailed;
    case fc::TransferStep::kRefused:
      Tell(result.outcome.message(), io);
      return kBoardFailed;
    case fc::TransferStep::kFailed:
      if (KeptBusy(*session.board)) return NoAnswer(*session.board, io);
      Tell(result.outcome.message(), io);
      io.err << "  (the board may now hold part of an image)\n";
      return kBoardFailed;
    case fc::TransferStep::kNotNow:
      break;  // a program transfer is never busy with anything else
  }
  return kBoardFailed;
}

}  // namespace

int Boards(Args args, Streams io) {
  bool json = false;
  for (const std::string& a : args) {
    if (a != "--json") {
      io.err << "pendra2-cli: usage: boards [--json]\n";
      return kUsage;
    }
    json = true;
  }
  const auto transport = device::MakeTransport();
  const device::InterfaceList list = transport->Enumerate();
  if (!list.ok) {
    SayInterfaceListUnavailable(io);
    return kNoBoard;
  }
  const std::vector<device::AttachedBoard> boards = device::AttachedBoards(list.interfaces);
  std::vector<device::InterfaceInfo> others;
  for (const auto& i : list.interfaces) {
    if (!device::IsBoard(i.vendorId, i.productId)) others.push_back(i);
  }
  // Every board is asked for its version at once, so a board that does not answer costs
  // one reply wait, not one each.
  std::vector<BoardRow> rows(boards.size());
  device::ForEachBoard(*transport, boards, device::ReplyTimeoutMs(),
                       [&](std::size_t n, device::Board& board) {
                         rows[n].board = boards[n];
                         rows[n].trouble = NotUsable(board);
                         if (!rows[n].trouble.empty()) return;
                         if (board.InfoQuery()) {
                           rows[n].info = board.Info();
                         } else {
                           rows[n].trouble = device::Describe(board.lastError());
                         }
                       });
  if (json) {
    WriteBoardsJson(rows, others, io.out);
    return kDone;
  }
  if (list.interfaces.empty()) {
    io.out << "No HID devices are attached, so no Pendra2 board either.\n";
    return kDone;
  }
  if (!rows.empty()) WriteBoardTable(rows, io.out);
  for (const auto& i : others) {
    io.out << Hex4(i.vendorId) << ':' << Hex4(i.productId) << "  not a board  " << i.path
           << (i.responding ? "" : "  (does not answer)") << "\n";
  }
  if (rows.empty()) io.out << "None of these is a Pendra2 board.\n";
  return kDone;
}

int BoardInfo(Args all, Streams io) {
  const auto taken = TakeBoardOption(all, io);
  if (!taken || !NoArguments(taken->rest, "board-info", io)) return kUsage;
  BoardSession session;
  if (const int status = ConnectBoard(session, io, taken->board); status != kDone) return status;
  if (!session.board->InfoQuery()) return NoAnswer(*session.board, io);
  const device::BoardInfo info = session.board->Info();
  io.out << "path: " << session.board->link().devicePath << "\n"
         << "test status: " << info.testStatus << "\n"
         << "version: " << info.version << "\n"
         << "generation: " << static_cast<char>(info.generation) << "\n"
         << "release date: " << info.releaseDate << "\n"
         << "build: " << info.buildNumber << "\n";
  return kDone;
}

int Write(Args all, Streams io) {
  const auto taken = TakeBoardOption(all, io);
  if (!taken) return kUsage;
  WriteTarget target{taken->board, false, false};
  std::optional<std::string> path;
  bool usable = true;
  for (const std::string& a : taken->rest) {
    if (a == "--all") {
      target.all = true;
    } else if (a == "--run") {
      target.run = true;
    } else if (!path && !a.empty() && a[0] != '-') {
      path = a;
    } else {
      usable = false;
    }
  }
  if (!usable || !path) {
    io.err
        << "usage: pendra2-cli write FILE (.flc or .olg) [--board NAME|PATH|N | --all] [--run]\n";
    return kUsage;
  }
  if (target.all && !target.board.empty()) {
    io.err << "pendra2-cli: write takes --board or --all, not both\n";
    return kUsage;
  }
  const auto file = ReadInput(*path, io);
  if (!file) return kFileError;
  if (file->kind == DocumentKind::Tune) return TuneWrite(*file, target, io);
  return WriteFlow(*file, target, io);
}

int RunBoard(Args all, Streams io) {
  const auto taken = TakeBoardOption(all, io);
  if (!taken || !NoArguments(taken->rest, "run", io)) return kUsage;
  BoardSession session;
  if (const int status = ConnectBoard(session, io, taken->board); status != kDone) return status;
  if (!session.board->Run()) {
    if (KeptBusy(*session.board)) return NoAnswer(*session.board, io);
    io.err << "pendra2-cli: the board could not be reached\n";
    return kBoardFailed;
  }
  return kDone;
}

int StopBoard(Args all, Streams io) {
  const auto taken = TakeBoardOption(all, io);
  if (!taken || !NoArguments(taken->rest, "stop", io)) return kUsage;
  BoardSession session;
  if (const int status = ConnectBoard(session, io, taken->board); status != kDone) return status;
  if (!session.board->Stop()) {
    if (KeptBusy(*session.board)) return NoAnswer(*session.board, io);
    io.err << "pendra2-cli: the board could not be reached\n";
    return kBoardFailed;
  }
  return kDone;
}

int Auto(Args all, Streams io) {
  const auto taken = TakeBoardOption(all, io);
  if (!taken) return kUsage;
  const std::vector<std::string>& args = taken->rest;
  if (args.size() != 1 || (args[0] != "on" && args[0] != "off" && args[0] != "status")) {
    io.err << "pendra2-cli: usage: auto on|off|status\n";
    return kUsage;
  }
  BoardSession session;
  if (const int status = ConnectBoard(session, io, taken->board); status != kDone) return status;
  const auto arg = args[0] == "on"    ? device::AutoModeArg::On
                   : args[0] == "off" ? device::AutoModeArg::Off
                                      : device::AutoModeArg::Query;
  if (!session.board->AutoMode(arg)) return NoAnswer(*session.board, io);
  if (arg == device::AutoModeArg::Query) {
    io.out << (session.board->AutoModeIsOn() ? "on" : "off") << "\n";
  }
  return kDone;
}

int ReadInput(Args all, Streams io) {
  const auto taken = TakeBoardOption(all, io);
  if (!taken) return kUsage;
  const std::vector<std::string>& args = taken->rest;
  std::optional<int> input;
  bool watch = false;
  std::optional<int> count;  // readings to take while watching; none: until interrupted
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--watch") {
      watch = true;
    } else if (args[i] == "--count" && i + 1 < args.size()) {
      count = ParseNumber(args[++i], 1, 1000000);
      if (!count) {
        io.err << "pendra2-cli: --count takes a number from 1 to 1000000\n";
        return kUsage;
      }
    } else if (!input) {
      input = ParseNumber(args[i], 1, 3);
      if (!input) {
        io.err << "pendra2-cli: the input is 1, 2 or 3, not '" << args[i] << "'\n";
        return kUsage;
      }
    } else {
      io.err << "pendra2-cli: usage: read-input 1|2|3 [--watch]\n";
      return kUsage;
    }
  }
  if (!input) {
    io.err << "pendra2-cli: usage: read-input 1|2|3 [--watch]\n";
    return kUsage;
  }
  BoardSession session;
  if (const int status = ConnectBoard(session, io, taken->board); status != kDone) return status;
  const int readings = watch ? count.value_or(-1) : 1;
  for (int n = 0; readings < 0 || n < readings; ++n) {
    if (n > 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!session.board->ReadInput(*input)) return NoAnswer(*session.board, io);
    io.out << session.board->InputReading() << std::endl;
  }
  return kDone;
}

int Note(Args all, Streams io) {
  namespace ml = pendra2::melody;
  const auto taken = TakeBoardOption(all, io);
  if (!taken) return kUsage;
  const std::vector<std::string>& args = taken->rest;
  constexpr const char* kWhat =
      "give 0-22 (C1..A2s), 23 (silence), 24 (end mark) or a note name C1..A2s";
  if (args.size() != 1) {
    io.err << "usage: pendra2-cli note CODE: " << kWhat << "\n";
    return kUsage;
  }
  std::optional<int> code = ParseNumber<int>(args[0], ml::kLowestNote, ml::kEndMark);
  for (int i = ml::kLowestNote; i <= ml::kHighestNote && !code; ++i) {
    if (args[0] == ml::kNoteNames[static_cast<std::size_t>(i)]) code = i;
  }
  if (!code) {
    io.err << "pendra2-cli: '" << args[0] << "' is not a note: " << kWhat << "\n";
    return kUsage;
  }
  BoardSession session;
  if (const int status = ConnectBoard(session, io, taken->board); status != kDone) return status;
  if (!session.board->PlayNote(static_cast<uint8_t>(*code))) {
    if (KeptBusy(*session.board)) return NoAnswer(*session.board, io);
    io.err << "pendra2-cli: the board could not be reached\n";
    return kBoardFailed;
  }
  return kDone;
}

}  // namespace pendra2::cli
