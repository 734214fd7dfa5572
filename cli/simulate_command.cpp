// simulate: runs a program or tune on the board's interpreter, with no board and no
// waiting, and prints what the board would have done.

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "board_sim/board_sim.h"
#include "board_sim/trace.h"
#include "cli/commands.h"
#include "cli/numbers.h"
#include "flowchart/step_addresses.h"
#include "melody/melody_state.h"
#include "melody/score.h"
#include "melody/tune_file.h"
#include "melody/tune_image.h"

namespace pendra2::cli {
namespace {

namespace bs = pendra2::board_sim;

constexpr const char* kUsageLine =
    "simulate FILE.flc|FILE.olg [--inputs A,B,C] [--max-ms N] [--trace]";
constexpr long kDefaultMaxMs = 10'000;
constexpr long kLongestMaxMs = 3'600'000;

struct Options {
  std::string file;
  std::array<uint16_t, 3> inputs{};
  long maxMs = kDefaultMaxMs;
  bool trace = false;
};

std::optional<std::array<uint16_t, 3>> Inputs(std::string_view text) {
  std::array<uint16_t, 3> inputs{};
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const std::size_t comma = text.find(',');
    if ((i < 2) != (comma != std::string_view::npos)) return std::nullopt;
    const auto n = ParseNumber<long>(text.substr(0, comma), 0, bs::behaviour::kInputMax);
    if (!n) return std::nullopt;
    inputs[i] = static_cast<uint16_t>(*n);
    text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
  }
  return inputs;
}

std::optional<Options> Parse(Args args, Streams io) {
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--trace") {
      o.trace = true;
    } else if (a == "--inputs" && i + 1 < args.size()) {
      const auto inputs = Inputs(args[++i]);
      if (!inputs) {
        io.err << "pendra2-cli: --inputs takes three numbers from 0 to " << bs::behaviour::kInputMax
               << ", such as 512,0,1023\n";
        return std::nullopt;
      }
      o.inputs = *inputs;
    } else if (a == "--max-ms" && i + 1 < args.size()) {
      const auto ms = ParseNumber<long>(args[++i], 1, kLongestMaxMs);
      if (!ms) {
        io.err << "pendra2-cli: --max-ms takes a number of milliseconds from 1 to " << kLongestMaxMs
               << "\n";
        return std::nullopt;
      }
      o.maxMs = *ms;
    } else if (!a.empty() && a[0] != '-' && o.file.empty()) {
      o.file = a;
    } else {
      io.err << "usage: pendra2-cli " << kUsageLine << "\n";
      return std::nullopt;
    }
  }
  if (o.file.empty()) {
    io.err << "usage: pendra2-cli " << kUsageLine << "\n";
    return std::nullopt;
  }
  return o;
}

// The image and, for a program, which step each address belongs to.
struct Loaded {
  bs::Image image{};
  std::array<int16_t, bs::kImageBytes> stepOf{};
  bool program = false;
};

int LoadProgram(const InputFile& file, Loaded& loaded, Streams io) {
  namespace fc = pendra2::flowchart;
  const auto program = LoadFlow(file, io);
  if (!program) return kFileError;
  if (program->imageSize > fc::kImageBytes - 1) {
    io.err << "pendra2-cli: " << file.path << ": the program needs " << program->imageSize
           << " bytes; the board holds 511 and the closing 'E'\n";
    return kTooLarge;
  }
  loaded.image = program->image;
  loaded.program = true;
  loaded.stepOf = fc::MapStepAddresses(*program).traced;
  return kDone;
}

int LoadTuneImage(const InputFile& file, Loaded& loaded, Streams io) {
  namespace ml = pendra2::melody;
  const auto state = LoadTune(file, io);
  if (!state) return kFileError;
  ml::Normalise(state->score);
  if (!ml::FitsTuneImage(state->score)) {
    io.err << "pendra2-cli: " << file.path << ": " << OneLine(ml::kTuneTooLongMessage.text) << "\n";
    return kTooLarge;
  }
  loaded.image = ml::TuneImage(state->score);
  return kDone;
}

}  // namespace

int Simulate(Args args, Streams io) {
  const auto options = Parse(args, io);
  if (!options) return kUsage;
  const auto file = ReadInput(options->file, io);
  if (!file) return kFileError;
  Loaded loaded;
  const int status = file->kind == DocumentKind::Flow ? LoadProgram(*file, loaded, io)
                                                      : LoadTuneImage(*file, loaded, io);
  if (status != kDone) return status;

  auto board = std::make_unique<bs::BoardSim>();
  board->Load(loaded.image);
  for (int i = 0; i < 3; ++i) board->SetInput(i, options->inputs[static_cast<std::size_t>(i)]);
  board->Start(0);
  const bs::Micros limit = bs::Micros{options->maxMs} * 1000;
  bs::Micros last = 0;
  while (auto e = board->Advance(limit)) {
    last = e->time;
    if (!options->trace) continue;
    const int owner = e->column ? e->tuneAt : e->address;
    const int step = loaded.program ? loaded.stepOf[static_cast<std::size_t>(owner)] : 0;
    io.out << bs::TraceLine(*e, *board, step) << "\n";
  }
  if (board->running()) {
    const bs::Outputs& o = board->outputs();
    io.out << "t=" << options->maxMs << ".0 stop=time-limit led=" << o.led << " out1=" << o.out1
           << " out2=" << o.out2 << " ext=" << bs::ExtBits(o.ext) << " a=" << board->a()
           << " b=" << board->b() << " (--max-ms reached, the program is still running)\n";
  } else {
    io.out << bs::StopLine(*board, last) << "\n";
  }
  return kDone;
}

}  // namespace pendra2::cli
