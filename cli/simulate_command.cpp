// simulate: runs a program or tune on the board's interpreter, with no board and no
// waiting, and prints what the board would have done.

#include <array>
#include <charconv>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "board_sim/board_sim.h"
#include "board_sim/trace.h"
#include "cli/cli.h"
#include "flowchart/flow_file.h"
#include "flowchart/recompute.h"
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

std::optional<long> Number(std::string_view text, long most) {
  long value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size() || value < 0 ||
      value > most) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::array<uint16_t, 3>> Inputs(std::string_view text) {
  std::array<uint16_t, 3> inputs{};
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const std::size_t comma = text.find(',');
    if ((i < 2) != (comma != std::string_view::npos)) return std::nullopt;
    const auto n = Number(text.substr(0, comma), bs::behaviour::kInputMax);
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
      const auto ms = Number(args[++i], kLongestMaxMs);
      if (!ms || *ms == 0) {
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
  std::array<int, bs::kImageBytes> stepOf{};
  bool program = false;
};

bool IsFlowFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::array<char, 2> magic{};
  return in.read(magic.data(), magic.size()) && magic[0] == 'F' && magic[1] == 'L';
}

std::string OneLine(std::string text) {
  for (auto& c : text) c = c == '\n' ? ' ' : c;
  return text;
}

int LoadProgram(const std::string& path, Loaded& loaded, Streams io) {
  namespace fc = pendra2::flowchart;
  auto program = std::make_unique<fc::FlowProgram>();
  fc::NewProgram(*program);
  fc::Recompute(*program);
  const auto result = fc::LoadFlowFile(*program, path);
  if (!result.ok) {
    io.err << "pendra2-cli: " << path << ": " << OneLine(result.message) << "\n";
    return kFileError;
  }
  if (program->imageSize > fc::kImageBytes - 1) {
    io.err << "pendra2-cli: " << path << ": the program needs " << program->imageSize
           << " bytes; the board holds 511 and the closing 'E'\n";
    return kTooLarge;
  }
  loaded.image = program->image;
  loaded.program = true;
  for (int i = 1; i + 1 < program->count; ++i) {
    const int address = program->endAddress[static_cast<std::size_t>(i - 1)];
    if (program->steps[static_cast<std::size_t>(i)].size > 0 && address >= 0 &&
        address < bs::kImageBytes) {
      loaded.stepOf[static_cast<std::size_t>(address)] = i;
    }
  }
  return kDone;
}

int LoadTuneImage(const std::string& path, Loaded& loaded, Streams io) {
  namespace ml = pendra2::melody;
  auto state = std::make_unique<ml::MelodyState>();
  ml::ResetScore(state->score);
  const ml::LoadResult result = ml::LoadTune(state->score, state->header, path);
  if (!result.ok || result.findings.bytesRead < ml::kTuneHeaderSize || result.findings.badMagic) {
    io.err << "pendra2-cli: " << path << ": not a Stepcraft program or Chimecraft tune file\n";
    return kFileError;
  }
  ml::Normalise(state->score);
  if (!ml::FitsTuneImage(state->score)) {
    io.err << "pendra2-cli: " << path << ": " << OneLine(std::string(ml::kTuneTooLongMessage.text))
           << "\n";
    return kTooLarge;
  }
  loaded.image = ml::TuneImage(state->score);
  return kDone;
}

}  // namespace

int Simulate(Args args, Streams io) {
  const auto options = Parse(args, io);
  if (!options) return kUsage;
  Loaded loaded;
  const int status = IsFlowFile(options->file) ? LoadProgram(options->file, loaded, io)
                                               : LoadTuneImage(options->file, loaded, io);
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
