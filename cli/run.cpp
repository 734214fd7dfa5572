#include <array>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "cli/cli.h"

namespace pendra2::cli {
namespace {

using Command = int (*)(Args, Streams);

struct Entry {
  std::string_view name;
  Command command;
  std::string_view usage;
};

enum class Document { Flow, Tune };

// image and dump take either document; the magic decides, the extension settles files
// too damaged to have one.
Document Sniff(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::array<char, 2> magic{};
  if (in.read(magic.data(), magic.size()) && magic[0] == 'F' && magic[1] == 'L') {
    return Document::Flow;
  }
  const auto ext = std::filesystem::path(path).extension().string();
  return (ext == ".flc" || ext == ".FLC") ? Document::Flow : Document::Tune;
}

int ByDocument(Args args, Streams io, Command flow, Command tune) {
  if (args.empty() || args[0].empty() || args[0][0] == '-') {
    io.err << "pendra2-cli: a file name is needed\n";
    return kUsage;
  }
  return Sniff(args[0]) == Document::Flow ? flow(args, io) : tune(args, io);
}

int Image(Args args, Streams io) {
  return ByDocument(args, io, FlowImage, TuneImage);
}
int Dump(Args args, Streams io) {
  return ByDocument(args, io, FlowDump, TuneDump);
}

constexpr std::array kCommands{
    Entry{"image", Image, "image FILE [-o OUT] [--hex]"},
    Entry{"dump", Dump, "dump FILE"},
    Entry{"listing", FlowListing, "listing FILE.flc [--notation japanese|basic|c]"},
    Entry{"play", TunePlay, "play FILE.olg [--part START] [--loop] [--dry-run] [--max-ticks N]"},
    Entry{"render", Render,
          "render FILE.flc -o OUT.png [--view 0|1|4] [--top N] | FILE.olg -o OUT.png [--scroll N]"},
    Entry{"pdf", Pdf, "pdf FILE -o OUT.pdf"},
    Entry{"boards", Boards, "boards"},
    Entry{"board-info", BoardInfo, "board-info"},
    Entry{"write", Write, "write FILE"},
    Entry{"run", RunBoard, "run"},
    Entry{"stop", StopBoard, "stop"},
    Entry{"auto", Auto, "auto on|off|status"},
    Entry{"read-input", ReadInput, "read-input 1|2|3 [--watch]"},
    Entry{"note", Note, "note CODE"},
};

void PrintUsage(std::ostream& out) {
  out << "usage: pendra2-cli COMMAND [ARGS]\n\ncommands:\n";
  for (const auto& e : kCommands) out << "  " << e.usage << "\n";
  out << "\nexit status: 0 done, 1 usage error, 2 file missing/unreadable/refused,\n"
         "3 too large for the board, 4 no board found, 5 board did not answer or refused\n";
}

}  // namespace

int Run(Args args, Streams io) {
  if (args.empty()) {
    PrintUsage(io.err);
    return kUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintUsage(io.out);
    return kDone;
  }
  for (const auto& e : kCommands) {
    if (args[0] == e.name) return e.command(args.subspan(1), io);
  }
  io.err << "pendra2-cli: unknown command '" << args[0] << "'\n";
  PrintUsage(io.err);
  return kUsage;
}

}  // namespace pendra2::cli
