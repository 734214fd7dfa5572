// image, dump, play and write for .olg files. A tune is loaded as Chimecraft loads it; files
// that are not tunes at all are refused, tunes cut short are read as far as they go.

#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/board_session.h"
#include "cli/commands.h"
#include "cli/tune_play.h"
#include "cli/write_all.h"
#include "melody/melody_state.h"
#include "melody/transfer.h"
#include "melody/tune_file.h"
#include "melody/tune_image.h"

namespace pendra2::cli {
namespace {

namespace ml = pendra2::melody;

// False, with the reason written, when the tune is too long for the board image.
bool FitsOrSays(const ml::Score& score, const std::string& path, Streams io) {
  if (ml::FitsTuneImage(score)) return true;
  io.err << "pendra2-cli: " << path << ": " << OneLine(ml::kTuneTooLongMessage.text) << " ("
         << score.length - 1 << " columns used)\n";
  return false;
}

template <typename Table>
std::string JsonNumbers(const Table& table) {
  std::string s = "[";
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (i > 0) s += ", ";
    s += std::to_string(table[i]);
  }
  return s + "]";
}

// Ctrl+C during play: the handler may only set a flag, which the playback loop polls and
// answers with the closing silence.
volatile std::sig_atomic_t interruptRequested = 0;

extern "C" void OnInterrupt(int) {
  interruptRequested = 1;
}

class InterruptGuard {
 public:
  InterruptGuard() {
    interruptRequested = 0;
    previous_ = std::signal(SIGINT, OnInterrupt);
  }
  ~InterruptGuard() { std::signal(SIGINT, previous_); }
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  void (*previous_)(int) = nullptr;
};

}  // namespace

int TuneImage(const InputFile& file, const ImageOptions& options, Streams io) {
  const auto state = LoadTune(file, io);
  if (!state) return kFileError;
  ml::Normalise(state->score);
  if (!FitsOrSays(state->score, file.path, io)) return kTooLarge;
  const ml::TuneImageBytes image = ml::TuneImage(state->score);
  return WriteImage(image, options, io);
}

int TuneDump(const InputFile& file, Streams io) {
  const auto state = LoadTune(file, io);
  if (!state) return kFileError;
  const ml::Score& s = state->score;
  io.out << "{\n  \"length\": " << s.length << ",\n  \"tempoIndex\": " << s.tempoIndex
         << ",\n  \"tempoPair\": " << JsonNumbers(s.tempoPair)
         << ",\n  \"cells\": " << JsonNumbers(s.cells) << "\n}\n";
  return kDone;
}

int Play(Args all, Streams io) {
  const auto taken = TakeBoardOption(all, io);
  if (!taken) return kUsage;
  const auto options = ParsePlayOptions(taken->rest, io);
  if (!options) return kUsage;
  const auto file = ReadInput(options->file, io);
  if (!file) return kFileError;
  const auto state = LoadTune(*file, io);
  if (!state) return kFileError;
  InterruptGuard guard;
  PlayHooks hooks;
  hooks.interrupted = [] { return interruptRequested != 0; };
  if (options->dryRun) {
    hooks.paced = false;
    hooks.send = [&io](uint8_t code) {
      io.out << static_cast<int>(code) << "\n";
      return true;
    };
    return PlayScore(state->score, *options, hooks, io);
  }
  BoardSession session;
  if (const int status = ConnectBoard(session, io, taken->board); status != kDone) return status;
  device::Board& board = *session.board;
  hooks.send = [&board](uint8_t code) { return board.PlayNote(code); };
  return PlayScore(state->score, *options, hooks, io);
}

int TuneWrite(const InputFile& file, const WriteTarget& target, Streams io) {
  const auto state = LoadTune(file, io);
  if (!state) return kFileError;
  // Too long wins over every board question: nothing is looked for or sent then.
  ml::Normalise(state->score);
  if (!FitsOrSays(state->score, file.path, io)) return kTooLarge;
  if (target.all) return WriteAll(file, *state, target.run, io);

  BoardSession session;
  if (const int status = ConnectBoard(session, io, target.board); status != kDone) return status;
  TerminalImageWriter writer(*session.board, io);
  const ml::TransferResult result =
      ml::Transfer(state->score, state->playback, state->editMode, writer);
  switch (result.step) {
    case ml::TransferStep::kSent:
      io.out << "wrote " << file.path << " to the board (" << state->score.length - 1
             << " columns, 512-byte tune image)\n";
      return target.run ? StartAfterWrite(*session.board, io) : kDone;
    case ml::TransferStep::kTooLarge:
      return kTooLarge;
    default:
      break;
  }
  if (KeptBusy(*session.board)) return NoAnswer(*session.board, io);
  if (!result.outcome.ok()) {
    io.err << "pendra2-cli: " << OneLine(result.outcome.message().text)
           << " (the board may now hold part of an image)\n";
  }
  return kBoardFailed;
}

}  // namespace pendra2::cli
