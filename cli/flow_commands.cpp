// image, dump and listing for .flc files: the program is loaded exactly as Stepcraft loads
// it, so what these print is what the editor would show and send.

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "cli/terminal_text.h"
#include "flowchart/flow_file.h"
#include "flowchart/listing.h"

namespace pendra2::cli {
namespace {

namespace fc = pendra2::flowchart;

int Usage(Streams io, std::string_view usage) {
  io.err << "usage: pendra2-cli " << usage << "\n";
  return kUsage;
}

const char* KindName(int32_t kind) {
  switch (static_cast<fc::StepKind>(kind)) {
    case fc::StepKind::Start:
      return "Start";
    case fc::StepKind::Orgel:
      return "Orgel";
    case fc::StepKind::Wait:
      return "Wait";
    case fc::StepKind::LoopStart:
      return "LoopStart";
    case fc::StepKind::LoopEnd:
      return "LoopEnd";
    case fc::StepKind::Branch:
      return "Branch";
    case fc::StepKind::Output:
      return "Output";
    case fc::StepKind::Goto:
      return "Goto";
    case fc::StepKind::ExtOutput:
      return "ExtOutput";
    case fc::StepKind::Compare:
      return "Compare";
    case fc::StepKind::Variable:
      return "Variable";
    case fc::StepKind::VarCompare:
      return "VarCompare";
    case fc::StepKind::End:
      return "End";
  }
  return "Unknown";
}

template <typename Table>
std::string JsonNumbers(const Table& table, int count) {
  std::string s = "[";
  for (int i = 0; i < count; ++i) {
    if (i > 0) s += ", ";
    s += std::to_string(table[i]);
  }
  return s + "]";
}

// The version text as the header holds it: up to its NUL within the 16-byte field.
std::string HeaderVersion(const fc::FlowProgram& program) {
  const auto* start = reinterpret_cast<const char*>(&program.headerBuffer[8]);
  std::string_view field(start, 16);
  return DecodeStoredText(field.substr(0, field.find('\0')));
}

std::string StepJson(int index, const fc::StepRecord& s) {
  std::string j =
      "{\"index\": " + std::to_string(index) + ", \"kind\": \"" + KindName(s.kind) +
      "\", \"kindValue\": " + std::to_string(s.kind) +
      ", \"loopCount\": " + std::to_string(s.loopCount) +
      ", \"depth\": " + std::to_string(s.depth) + ", \"value\": " + std::to_string(s.value) +
      ", \"target\": " + std::to_string(s.target) + ", \"size\": " + std::to_string(s.size) +
      ", \"op\": " + std::to_string(s.op) + ", \"channel\": " + std::to_string(s.channel);
  if (s.Is(fc::StepKind::Orgel)) {
    // The bytes too, for paths whose Shift JIS cannot be decoded whole.
    const std::string_view path = fc::StoredTunePath(s);
    j += ", \"tunePath\": " + JsonString(DecodeStoredText(path)) + ", \"tunePathBytes\": \"" +
         HexBytes(path) + "\"";
  }
  return j + "}";
}

}  // namespace

int FlowImage(const InputFile& file, const ImageOptions& options, Streams io) {
  const auto program = LoadFlow(file, io);
  if (!program) return kFileError;
  if (program->imageSize > fc::kImageBytes - 1) {
    io.err << "pendra2-cli: " << file.path << ": the program needs " << program->imageSize
           << " bytes, more than the board's " << fc::kImageBytes - 1 << "\n";
    return kTooLarge;
  }
  return WriteImage(program->image, options, io);
}

int FlowDump(const InputFile& file, Streams io) {
  const auto program = LoadFlow(file, io);
  if (!program) return kFileError;
  const fc::FlowProgram& p = *program;
  const int tempoIndex = p.headerBuffer[24] | (p.headerBuffer[25] << 8);
  io.out << "{\n  \"count\": " << p.count << ",\n  \"tempoIndex\": " << tempoIndex
         << ",\n  \"version\": " << JsonString(HeaderVersion(p))
         << ",\n  \"imageSize\": " << p.imageSize
         << ",\n  \"depthAfter\": " << JsonNumbers(p.depthAfter, p.count)
         << ",\n  \"endAddress\": " << JsonNumbers(p.endAddress, p.count) << ",\n  \"steps\": [\n";
  for (int i = 0; i < p.count; ++i) {
    io.out << "    " << StepJson(i, p.steps[i]) << (i + 1 < p.count ? ",\n" : "\n");
  }
  io.out << "  ]\n}\n";
  return kDone;
}

int Listing(Args args, Streams io) {
  constexpr std::string_view usage = "listing FILE.flc [--notation japanese|basic|c]";
  std::string path;
  fc::Notation notation = fc::Notation::Japanese;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--notation" && i + 1 < args.size()) {
      const std::string& name = args[++i];
      if (name == "japanese") {
        notation = fc::Notation::Japanese;
      } else if (name == "basic") {
        notation = fc::Notation::Basic;
      } else if (name == "c") {
        notation = fc::Notation::C;
      } else {
        return Usage(io, usage);
      }
    } else if (!a.empty() && a[0] != '-' && path.empty()) {
      path = a;
    } else {
      return Usage(io, usage);
    }
  }
  if (path.empty()) return Usage(io, usage);
  const auto file = ReadInput(path, io);
  if (!file) return kFileError;
  const auto program = LoadFlow(*file, io);
  if (!program) return kFileError;
  for (int i = 0; i < program->count; ++i) {
    // Tune paths come from the file: their control bytes are shown, never obeyed.
    io.out << EscapeControls(fc::ListingLine(i, program->steps[i], notation, DecodeStoredText))
           << "\n";
  }
  return kDone;
}

}  // namespace pendra2::cli
