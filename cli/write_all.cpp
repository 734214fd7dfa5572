#include "cli/write_all.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/board_session.h"
#include "cli/class_progress.h"
#include "cli/terminal.h"
#include "cli/terminal_text.h"
#include "device/board_choice.h"
#include "device/board_generation.h"
#include "device/each_board.h"
#include "device/link_image_writer.h"
#include "device/reply_timeout.h"
#include "device/transport_factory.h"
#include "flowchart/transfer.h"
#include "melody/transfer.h"

namespace pendra2::cli {
namespace {

namespace fc = pendra2::flowchart;
namespace ml = pendra2::melody;

enum class Verdict { kOk, kFailed, kWrongGeneration };

struct Written {
  Verdict verdict = Verdict::kFailed;
  std::string why;  // for anything but kOk
};

// One board's write, on that board's own thread: the whole transfer, progress after each
// answered block.
using BoardWrite = std::function<Written(device::Board&, const device::BlockProgress&)>;

// What broke, in the user's words.
std::string Why(const device::Board& board) {
  const device::LinkError& error = board.lastError();
  switch (error.reason) {
    case device::LinkFailure::kBusy:
      return "another program kept the board busy for too long";
    case device::LinkFailure::kNone:
    case device::LinkFailure::kNoAnswer:
      return "the board did not answer";
    default:
      return device::Describe(error);
  }
}

Written WriteProgram(const fc::FlowProgram& program, device::Board& board,
                     const device::BlockProgress& progress) {
  // Each board recomputes its own copy: the transfer works on the program it is given.
  const auto copy = std::make_unique<fc::FlowProgram>(program);
  device::BoardGeneration generation(board);
  device::LinkImageWriter writer(board, progress);
  const fc::TransferResult result = fc::Transfer(*copy, generation, writer);
  switch (result.step) {
    case fc::TransferStep::kSent:
      return {Verdict::kOk, {}};
    case fc::TransferStep::kNoAnswer:
      return {Verdict::kFailed, Why(board) + "; nothing was written"};
    case fc::TransferStep::kRefused: {
      const device::BoardInfo info = board.Info();
      return {Verdict::kWrongGeneration,
              "the board is " + EscapeControls(info.version) +
                  ", older than the programs made here are for; nothing was written"};
    }
    case fc::TransferStep::kFailed:
      return {Verdict::kFailed, Why(board) + "; the board may hold part of an image"};
    default:
      return {Verdict::kFailed, OneLine(result.outcome.message().text)};
  }
}

Written WriteTune(const ml::MelodyState& tune, device::Board& board,
                  const device::BlockProgress& progress) {
  const auto copy = std::make_unique<ml::MelodyState>(tune);
  device::LinkImageWriter writer(board, progress);
  const ml::TransferResult result =
      ml::Transfer(copy->score, copy->playback, copy->editMode, writer);
  if (result.step == ml::TransferStep::kSent) return {Verdict::kOk, {}};
  if (result.step == ml::TransferStep::kFailed) {
    return {Verdict::kFailed, Why(board) + "; the board may hold part of an image"};
  }
  return {Verdict::kFailed, OneLine(result.outcome.message().text)};
}

std::string Line(const std::string& name, const Written& w, bool run) {
  switch (w.verdict) {
    case Verdict::kOk:
      return name + (run ? ": ok, started" : ": ok");
    case Verdict::kWrongGeneration:
      return name + ": wrong generation: " + w.why;
    case Verdict::kFailed:
      break;
  }
  return name + ": failed: " + w.why;
}

int WriteEvery(const std::string& path, const BoardWrite& write, bool run, Streams io) {
  WarnAboutReplyTimeout(io);
  const auto transport = device::MakeTransport();
  const device::InterfaceList list = transport->Enumerate();
  if (!list.ok) {
    SayInterfaceListUnavailable(io);
    return kNoBoard;
  }
  // The boards attached now are the ones written; one plugged in meanwhile is left alone.
  const std::vector<device::AttachedBoard> boards = device::AttachedBoards(list.interfaces);
  if (boards.empty()) {
    io.err << "pendra2-cli: no Pendra2 board found: is it plugged in? "
              "(`pendra2-cli boards` lists what is attached)\n";
    return kNoBoard;
  }
  std::vector<std::string> names;
  for (const auto& b : boards) names.push_back(EscapeControls(b.name));
  std::vector<Written> results(boards.size());
  {
    ClassProgress progress(names, io, IsTerminal(io.err));
    device::ForEachBoard(
        *transport, boards, device::ReplyTimeoutMs(), [&](std::size_t n, device::Board& board) {
          Written& w = results[n];
          if (std::string why = NotUsable(board); !why.empty()) {
            w = {Verdict::kFailed, std::move(why)};
          } else {
            w = write(board, [&progress, n](int block) { progress.Blocks(n, block + 1); });
            if (w.verdict == Verdict::kOk && run && !board.Run()) {
              w = {Verdict::kFailed, "written, but it could not be started: " + Why(board)};
            }
          }
          progress.Finished(n, Line(names[n], w, run));
        });
  }
  std::size_t ok = 0, failed = 0, older = 0;
  for (const Written& w : results) {
    ok += w.verdict == Verdict::kOk;
    failed += w.verdict == Verdict::kFailed;
    older += w.verdict == Verdict::kWrongGeneration;
  }
  const std::string shown = EscapeControls(path);
  if (ok == boards.size()) {
    io.out << "wrote " << shown << " into all " << ok << (ok == 1 ? " board" : " boards")
           << (run ? " and started them" : "") << "\n";
    return kDone;
  }
  io.out << "wrote " << shown << " into " << ok << " of " << boards.size() << " boards";
  if (failed > 0) io.out << "; " << failed << " failed";
  if (older > 0) io.out << "; " << older << " of the wrong generation";
  io.out << "\n";
  return kBoardFailed;
}

}  // namespace

int WriteAll(const InputFile& file, const fc::FlowProgram& program, bool run, Streams io) {
  return WriteEvery(
      file.path,
      [&program](device::Board& board, const device::BlockProgress& progress) {
        return WriteProgram(program, board, progress);
      },
      run, io);
}

int WriteAll(const InputFile& file, const ml::MelodyState& tune, bool run, Streams io) {
  return WriteEvery(
      file.path,
      [&tune](device::Board& board, const device::BlockProgress& progress) {
        return WriteTune(tune, board, progress);
      },
      run, io);
}

}  // namespace pendra2::cli
