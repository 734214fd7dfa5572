#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <thread>

#include "cli/board_session.h"
#include "cli/cli.h"
#include "device/board_info.h"
#include "device/transport_factory.h"
#include "flowchart/flow_file.h"
#include "flowchart/flow_program.h"
#include "flowchart/recompute.h"

namespace pendra2::cli {
namespace {

constexpr const char* kTooLargeText = "データが５１２バイトを越しているので転送できません。";

std::string Hex4(uint16_t v) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s(4, '0');
  for (int i = 3; i >= 0; --i, v >>= 4) s[static_cast<std::size_t>(i)] = kDigits[v & 0xF];
  return s;
}

bool NoArguments(Args args, std::string_view command, Streams io) {
  if (args.empty()) return true;
  io.err << "pendra2-cli: " << command << " takes no arguments\n";
  return false;
}

// A whole decimal number within [low, high], or nothing.
std::optional<int> Whole(const std::string& text, int low, int high) {
  int value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size() || value < low ||
      value > high) {
    return std::nullopt;
  }
  return value;
}

bool IsFlowFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char magic[2] = {};
  if (in.read(magic, 2) && magic[0] == 'F' && magic[1] == 'L') return true;
  const auto ext = std::filesystem::path(path).extension().string();
  return ext == ".flc" || ext == ".FLC";
}

int WriteFlow(const std::string& path, Streams io) {
  // The program table is 200 KB: kept off the stack.
  auto program = std::make_unique<flowchart::FlowProgram>();
  flowchart::NewProgram(*program);
  const interaction::Outcome loaded = flowchart::LoadFlowFile(*program, path);
  if (!loaded.ok()) {
    io.err << "pendra2-cli: " << path << ": " << loaded.message().text << "\n";
    return kFileError;
  }

  BoardSession session;
  if (const int status = ConnectBoard(session, io); status != kDone) return status;
  device::Board& board = *session.board;

  if (program->imageSize > 511) {
    io.err << kTooLargeText << "\n(" << program->imageSize << " bytes)\n";
    return kTooLarge;
  }
  if (!board.InfoQuery()) {
    io.err << kNoAnswerText;
    return kBoardFailed;
  }
  if (!device::GenerationAcceptsProgram(board.Info().generation)) {
    io.err << device::kGenerationRefusedText << "\n";
    return kBoardFailed;
  }
  flowchart::Recompute(*program);
  if (const int status = WriteBoardImage(board, program->image, io); status != kDone) {
    return status;
  }
  io.out << "wrote " << path << " to the board (" << program->imageSize
         << " program bytes, 512-byte image)\n";
  return kDone;
}

}  // namespace

int Boards(Args args, Streams io) {
  if (!NoArguments(args, "boards", io)) return kUsage;
  const auto transport = device::MakeTransport();
  const device::InterfaceList list = transport->Enumerate();
  if (!list.ok) {
    io.err << "pendra2-cli: " << device::kInterfaceListCaption << ": " << device::kInterfaceListText
           << " (the list of HID interfaces cannot be read)\n";
    return kNoBoard;
  }
  if (list.interfaces.empty()) io.out << "no HID interfaces\n";
  for (const auto& i : list.interfaces) {
    io.out << Hex4(i.vendorId) << ':' << Hex4(i.productId) << "  "
           << (device::IsBoard(i.vendorId, i.productId) ? "board      " : "not a board") << "  "
           << i.path << "\n";
  }
  return kDone;
}

int BoardInfo(Args args, Streams io) {
  if (!NoArguments(args, "board-info", io)) return kUsage;
  BoardSession session;
  if (const int status = ConnectBoard(session, io); status != kDone) return status;
  if (!session.board->InfoQuery()) {
    io.err << kNoAnswerText;
    return kBoardFailed;
  }
  const device::BoardInfo info = session.board->Info();
  io.out << "path: " << session.board->link().devicePath << "\n"
         << "test status: " << info.testStatus << "\n"
         << "version: " << info.version << "\n"
         << "generation: " << static_cast<char>(info.generation) << "\n"
         << "release date: " << info.releaseDate << "\n"
         << "build: " << info.buildNumber << "\n";
  return kDone;
}

int Write(Args args, Streams io) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    io.err << "pendra2-cli: usage: write FILE (.flc or .olg)\n";
    return kUsage;
  }
  if (!std::filesystem::exists(args[0])) {
    io.err << "pendra2-cli: " << args[0] << ": no such file\n";
    return kFileError;
  }
  if (!IsFlowFile(args[0])) return TuneWrite(args, io);
  return WriteFlow(args[0], io);
}

int RunBoard(Args args, Streams io) {
  if (!NoArguments(args, "run", io)) return kUsage;
  BoardSession session;
  if (const int status = ConnectBoard(session, io); status != kDone) return status;
  if (!session.board->Run()) {
    io.err << "pendra2-cli: the board could not be reached\n";
    return kBoardFailed;
  }
  return kDone;
}

int StopBoard(Args args, Streams io) {
  if (!NoArguments(args, "stop", io)) return kUsage;
  BoardSession session;
  if (const int status = ConnectBoard(session, io); status != kDone) return status;
  if (!session.board->Stop()) {
    io.err << "pendra2-cli: the board could not be reached\n";
    return kBoardFailed;
  }
  return kDone;
}

int Auto(Args args, Streams io) {
  if (args.size() != 1 || (args[0] != "on" && args[0] != "off" && args[0] != "status")) {
    io.err << "pendra2-cli: usage: auto on|off|status\n";
    return kUsage;
  }
  BoardSession session;
  if (const int status = ConnectBoard(session, io); status != kDone) return status;
  const auto arg = args[0] == "on"    ? device::AutoModeArg::On
                   : args[0] == "off" ? device::AutoModeArg::Off
                                      : device::AutoModeArg::Query;
  if (!session.board->AutoMode(arg)) {
    io.err << kNoAnswerText;
    return kBoardFailed;
  }
  if (arg == device::AutoModeArg::Query) {
    io.out << (session.board->AutoModeIsOn() ? "on" : "off") << "\n";
  }
  return kDone;
}

int ReadInput(Args args, Streams io) {
  std::optional<int> input;
  bool watch = false;
  std::optional<int> count;  // readings to take while watching; none: until interrupted
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--watch") {
      watch = true;
    } else if (args[i] == "--count" && i + 1 < args.size()) {
      count = Whole(args[++i], 1, 1000000);
      if (!count) {
        io.err << "pendra2-cli: --count takes a number from 1 to 1000000\n";
        return kUsage;
      }
    } else if (!input) {
      input = Whole(args[i], 1, 3);
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
  if (const int status = ConnectBoard(session, io); status != kDone) return status;
  const int readings = watch ? count.value_or(-1) : 1;
  for (int n = 0; readings < 0 || n < readings; ++n) {
    if (n > 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!session.board->ReadInput(*input)) {
      io.err << kNoAnswerText;
      return kBoardFailed;
    }
    io.out << session.board->InputReading() << std::endl;
  }
  return kDone;
}

int Note(Args args, Streams io) {
  static constexpr const char* kNames[] = {"C1",  "C1s", "D1",  "D1s", "E1",  "F1",  "F1s", "G1",
                                           "G1s", "A1",  "A1s", "B1",  "C2",  "C2s", "D2",  "D2s",
                                           "E2",  "F2",  "F2s", "G2",  "G2s", "A2",  "A2s"};
  if (args.size() != 1) {
    io.err << "pendra2-cli: usage: note CODE (0-22 a note, 23 silence, 24 end mark, or a "
              "name C1..A2s)\n";
    return kUsage;
  }
  std::optional<int> code = Whole(args[0], 0, 24);
  for (int i = 0; i < 23 && !code; ++i) {
    if (args[0] == kNames[i]) code = i;
  }
  if (!code) {
    io.err << "pendra2-cli: '" << args[0]
           << "' is not a note: give 0-22 (C1..A2s), 23 (silence), 24 (end mark) or a "
              "name C1..A2s\n";
    return kUsage;
  }
  BoardSession session;
  if (const int status = ConnectBoard(session, io); status != kDone) return status;
  if (!session.board->PlayNote(static_cast<uint8_t>(*code))) {
    io.err << "pendra2-cli: the board could not be reached\n";
    return kBoardFailed;
  }
  return kDone;
}

}  // namespace pendra2::cli
