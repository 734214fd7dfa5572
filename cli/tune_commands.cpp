// image, dump, play and write for .olg files. A tune is loaded as Chimecraft loads it; files
// that are not tunes at all are refused, tunes cut short are read as far as they go.

#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/board_session.h"
#include "cli/cli.h"
#include "cli/image_output.h"
#include "cli/tune_play.h"
#include "melody/melody_state.h"
#include "melody/transfer.h"
#include "melody/tune_file.h"
#include "melody/tune_image.h"

namespace pendra2::cli {
namespace {

namespace ml = pendra2::melody;

std::string OneLine(std::string_view text) {
  std::string s(text);
  for (auto& c : s) {
    if (c == '\n') c = ' ';
  }
  return s;
}

int Usage(Streams io, std::string_view usage) {
  io.err << "usage: pendra2-cli " << usage << "\n";
  return kUsage;
}

// A fresh Chimecraft session that then opens the file; nullptr (message written) when the
// file cannot be read or is no tune file.
std::unique_ptr<ml::MelodyState> Load(const std::string& path, Streams io) {
  auto state = std::make_unique<ml::MelodyState>();
  ml::ResetScore(state->score);
  const ml::LoadResult result = ml::LoadTune(state->score, state->header, path);
  if (!result.ok) {
    io.err << "pendra2-cli: " << path << ": cannot be read (" << result.message.text << ")\n";
    return nullptr;
  }
  const ml::LoadFindings& f = result.findings;
  if (f.bytesRead < ml::kTuneHeaderSize || f.badMagic) {
    io.err << "pendra2-cli: " << path << ": not a Chimecraft tune file (";
    if (f.bytesRead < ml::kTuneHeaderSize) {
      io.err << "only " << f.bytesRead << " bytes, shorter than the 64-byte header";
    } else {
      io.err << "it does not start with \"OL\"";
    }
    io.err << ")\n";
    return nullptr;
  }
  if (f.shortFile) {
    io.err << "pendra2-cli: " << path << ": warning: the file ends after " << f.bytesRead << " of "
           << ml::kTuneFileSize << " bytes; the missing columns are empty\n";
  }
  if (f.tempoOutOfRange) {
    io.err << "pendra2-cli: " << path << ": warning: tempo index " << f.headerTempoIndex
           << " is outside 0-12 and is taken as " << ml::kDefaultTempoIndex << "\n";
  }
  return state;
}

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

class BoardImageWriter : public ml::ImageWriter {
 public:
  BoardImageWriter(device::Board& board, Streams io) : board_(board), io_(io) {}
  bool WriteImage(std::span<const uint8_t, 512> image) override {
    return WriteBoardImage(board_, image, io_) == kDone;
  }

 private:
  device::Board& board_;
  Streams io_;
};

}  // namespace

int TuneImage(Args args, Streams io) {
  constexpr std::string_view usage = "image FILE [-o OUT] [--hex]";
  std::string file;
  std::optional<std::string> out;
  bool hex = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--hex") {
      hex = true;
    } else if (a == "-o" && i + 1 < args.size() && !out) {
      out = args[++i];
    } else if (!a.empty() && a[0] != '-' && file.empty()) {
      file = a;
    } else {
      return Usage(io, usage);
    }
  }
  if (file.empty()) return Usage(io, usage);
  const auto state = Load(file, io);
  if (!state) return kFileError;
  ml::Normalise(state->score);
  if (!FitsOrSays(state->score, file, io)) return kTooLarge;
  const ml::TuneImageBytes image = ml::TuneImage(state->score);
  return WriteImage(image, hex, out, io);
}

int TuneDump(Args args, Streams io) {
  if (args.size() != 1) return Usage(io, "dump FILE");
  const auto state = Load(args[0], io);
  if (!state) return kFileError;
  const ml::Score& s = state->score;
  io.out << "{\n  \"length\": " << s.length << ",\n  \"tempoIndex\": " << s.tempoIndex
         << ",\n  \"tempoPair\": " << JsonNumbers(s.tempoPair)
         << ",\n  \"cells\": " << JsonNumbers(s.cells) << "\n}\n";
  return kDone;
}

int TunePlay(Args args, Streams io) {
  const auto options = ParsePlayOptions(args, io);
  if (!options) return kUsage;
  const auto state = Load(options->file, io);
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
    const int status = PlayScore(state->score, *options, hooks, io);
    io.out.flush();
    return status;
  }
  BoardSession session;
  if (const int status = ConnectBoard(session, io); status != kDone) return status;
  device::Board& board = *session.board;
  hooks.send = [&board](uint8_t code) { return board.PlayNote(code); };
  return PlayScore(state->score, *options, hooks, io);
}

int TuneWrite(Args args, Streams io) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') return Usage(io, "write FILE");
  const auto state = Load(args[0], io);
  if (!state) return kFileError;
  ml::Normalise(state->score);
  if (!FitsOrSays(state->score, args[0], io)) return kTooLarge;

  BoardSession session;
  if (const int status = ConnectBoard(session, io); status != kDone) return status;
  BoardImageWriter writer(*session.board, io);
  const ml::TransferResult result =
      ml::Transfer(state->score, state->playback, state->editMode, writer);
  switch (result.outcome) {
    case ml::TransferOutcome::kSent:
      io.out << "wrote " << args[0] << " to the board (" << state->score.length - 1
             << " columns, 512-byte tune image)\n";
      return kDone;
    case ml::TransferOutcome::kTooLong:
      return kTooLarge;
    case ml::TransferOutcome::kRefused:
    case ml::TransferOutcome::kFailed:
      break;  // the failed write has said why
  }
  return kBoardFailed;
}

}  // namespace pendra2::cli
