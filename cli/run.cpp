#include <array>
#include <cstddef>
#include <exception>
#include <filesystem>
#include <new>
#include <string_view>

#include "cli/commands.h"
#include "cli/man_page.h"
#include "cli/terminal.h"

#ifndef PENDRA2_VERSION
#define PENDRA2_VERSION "unknown"
#endif

namespace pendra2::cli {
namespace {

using Command = int (*)(Args, Streams);

struct Entry {
  std::string_view name;
  Command command;
  std::string_view usage;
  std::string_view help;  // what it does, then its options, one per line
};

constexpr std::array kCommands{
    Entry{"image", Image, "image FILE [-o OUT] [--hex]",
          "Writes the 512-byte board image of a program (.flc) or tune (.olg).\n"
          "  -o OUT   write it to OUT (default: standard output, never a terminal)\n"
          "  --hex    32 lines of 16 hex bytes instead of raw bytes\n"},
    Entry{"dump", Dump, "dump FILE",
          "Prints a program (.flc) or tune (.olg) as JSON, as the editor loads it.\n"},
    Entry{"listing", Listing, "listing FILE.flc [--notation japanese|basic|c]",
          "Prints the program listing, one line per step.\n"
          "  --notation japanese|basic|c   the listing's language (default japanese)\n"},
    Entry{"play", Play,
          "play FILE.olg [--part START] [--loop] [--dry-run] [--max-ticks N] [--stats] "
          "[--board B]",
          "Plays a tune note by note on the board, paced as Chimecraft paces it.\n"
          "  --part START   only the 21 columns from position START (0-489)\n"
          "  --loop         start again at the end, until Ctrl+C\n"
          "  --dry-run      print each note code instead of sending it; no board, no waiting\n"
          "  --max-ticks N  stop after N timer ticks\n"
          "  --stats        report the measured tick intervals\n"
          "  --board B      the board to play on (see boards)\n"
          "Ctrl+C stops the tune, silences the board and exits with status 130.\n"},
    Entry{"import-midi", ImportMidi,
          "import-midi FILE.mid -o OUT.olg [--track N] [--transpose N] [--grid V] | FILE.mid "
          "--list",
          "Makes a tune of a MIDI file (format 0 or 1) as Chimecraft's import does: the melody\n"
          "of one track and channel, chords down to their top note, one note value a column,\n"
          "moved into C1-A2s (notes still outside by octaves), at the nearest tempo, cut where\n"
          "the board's tune image ends. Channel 10 (drums) is left out.\n"
          "  -o OUT.olg     the tune to write\n"
          "  --list         only list the tracks and channels, numbered for --track\n"
          "  --track N      entry N of the list (default: the one with the most melody)\n"
          "  --transpose N  semitones up (negative: down), -96 to 96\n"
          "  --grid V       a column's note value: 2, 4, 4t, 8, 8t, 16, 16t or 32 (t: triplet)\n"
          "Without --transpose the tune moves by the whole octaves that bring the most notes\n"
          "into range; without --grid a column is the shortest note the melody commonly has.\n"
          "What had to change (notes folded in or left out, the end cut off) is said on the\n"
          "error stream; the tune is written all the same.\n"},
    Entry{
        "export", Export, "export FILE.olg -o OUT.mid|OUT.wav",
        "Writes a tune out as a MIDI file or a WAV recording, its loops played out as the board\n"
        "plays them (at most ten minutes or 10,000 columns). MIDI: one track, a column an eighth\n"
        "note at the tune's tempo, General MIDI's music box. WAV: the virtual board's voice,\n"
        "mono, 16 bits, 22050 Hz.\n"
        "  -o OUT         the file to write; its name decides: .mid (or .midi) or .wav\n"},
    Entry{"render", Render,
          "render FILE.flc -o OUT.png [--view 0|1|4] [--top N] | FILE.olg -o OUT.png [--scroll N]",
          "Paints the flowchart window's view of a program, or the score window of a tune,\n"
          "into a PNG picture.\n"
          "  -o OUT.png   the picture to write (PNG only)\n"
          "  --view 0|1|4 0 flowchart only, 1 flowchart and listing (default), 4 listing only\n"
          "  --top N      start the view at step N (0 up to the program's last step)\n"
          "  --scroll N   a tune: the first column shown (0-490)\n"},
    Entry{"pdf", Pdf, "pdf FILE.flc|FILE.olg -o OUT.pdf",
          "Prints a program's or a tune's pages (A4) into a PDF file.\n"
          "  -o OUT.pdf   the PDF to write\n"},
    Entry{"boards", Boards, "boards [--json]",
          "Lists every Pendra2 board attached: its number, its name (the serial string, else\n"
          "the USB port, else the path; a virtual board's server name), its path, vendor and\n"
          "product, and the version and generation it reports; then the other HID devices.\n"
          "The number, the name or the path chooses a board for --board.\n"
          "  --json       the same as one JSON object\n"},
    Entry{"board-info", BoardInfo, "board-info [--board B]",
          "Shows the board's version information.\n"
          "  --board B    the board (see boards)\n"},
    Entry{"write", Write, "write FILE [--board B | --all] [--run]",
          "Writes a program (.flc) or tune (.olg) into the board, as the editors' transfer\n"
          "button does (with its size and generation checks).\n"
          "  --board B    the board to write: its name, path or number (see boards)\n"
          "  --all        every board attached, all at once: a line per board as it is\n"
          "               done, then a summary; status 0 only when every board took it\n"
          "  --run        start each board that took the image\n"},
    Entry{"run", RunBoard, "run [--board B]",
          "Starts the program in the board.\n"
          "  --board B    the board (see boards)\n"},
    Entry{"stop", StopBoard, "stop [--board B]",
          "Stops the program in the board.\n"
          "  --board B    the board (see boards)\n"},
    Entry{"auto", Auto, "auto on|off|status [--board B]",
          "Switches the board's auto mode on or off, or shows it.\n"
          "  --board B    the board (see boards)\n"},
    Entry{"read-input", ReadInput, "read-input 1|2|3 [--watch] [--count N] [--board B]",
          "Reads one of the board's inputs.\n"
          "  --watch      keep reading, 20 times a second, until Ctrl+C\n"
          "  --count N    with --watch: stop after N readings\n"
          "  --board B    the board (see boards)\n"},
    Entry{"note", Note, "note CODE [--board B]",
          "Sounds one note on the board: 0-22 or a name C1..A2s, 23 silence, 24 end mark.\n"
          "  --board B    the board (see boards)\n"},
    Entry{"simulate", Simulate,
          "simulate FILE.flc|FILE.olg [--inputs A,B,C] [--max-ms N] [--trace]",
          "Runs a program or tune as the board would, without a board and without waiting.\n"
          "  --inputs A,B,C  the readings of inputs 1-3 (0-1023 each, default 0)\n"
          "  --max-ms N      stop after N ms of board time (default 10000)\n"
          "  --trace         print every instruction run, then why the board stopped\n"},
};

constexpr std::string_view kEnvironment =
    "  PENDRA2_VIRTUAL_BOARDS=NAME[,NAME...]  use these virtual boards instead of USB ones\n"
    "  PENDRA2_REPLY_TIMEOUT_MS=MS            how long to wait for the board (default 2000)\n";

constexpr std::string_view kExitStatuses =
    "0 done, 1 usage error (also: several boards attached and no --board),\n"
    "2 file missing, unreadable or refused, 3 too large for the board,\n"
    "4 no board found (or none of the name, path or number given to --board),\n"
    "5 board did not answer or refused (write --all: any board that did not take it),\n"
    "130 stopped by Ctrl+C\n";

void PrintUsage(std::ostream& out) {
  out << "usage: pendra2-cli COMMAND [ARGS]\n"
         "       pendra2-cli COMMAND --help | --help | --version\n\ncommands:\n";
  for (const auto& e : kCommands) out << "  " << e.usage << "\n";
  out << "\nenvironment:\n" << kEnvironment << "\nexit status: " << kExitStatuses;
}

// The build writes the installed manual page with the hidden `--man`.
void PrintManPage(std::ostream& out) {
  std::array<CommandHelp, kCommands.size()> commands;
  for (std::size_t i = 0; i < kCommands.size(); ++i)
    commands[i] = {kCommands[i].usage, kCommands[i].help};
  WriteManPage(out, {PENDRA2_VERSION, commands, kEnvironment, kExitStatuses});
}

bool AsksForHelp(Args args) {
  for (const auto& a : args) {
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

int RunCommand(const Entry& e, Args args, Streams io) {
  if (AsksForHelp(args)) {
    io.out << "usage: pendra2-cli " << e.usage << "\n\n" << e.help;
    return kDone;
  }
  return e.command(args, io);
}

}  // namespace

int Image(Args args, Streams io) {
  const auto options = ParseImageOptions(args, io);
  if (!options) {
    io.err << "usage: pendra2-cli image FILE [-o OUT] [--hex]\n";
    return kUsage;
  }
  if (!options->out && !options->hex && IsTerminal(io.out)) {
    io.err << "pendra2-cli: the image is binary and is not shown on a terminal: give -o OUT, "
              "--hex, or redirect the output (> FILE)\n";
    return kUsage;
  }
  if (options->out) {
    if (const int status = RefuseOutputIsInput(options->file, *options->out, io); status != kDone)
      return status;
  }
  const auto file = ReadInput(options->file, io);
  if (!file) return kFileError;
  return file->kind == DocumentKind::Flow ? FlowImage(*file, *options, io)
                                          : TuneImage(*file, *options, io);
}

int Dump(Args args, Streams io) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    io.err << "usage: pendra2-cli dump FILE\n";
    return kUsage;
  }
  const auto file = ReadInput(args[0], io);
  if (!file) return kFileError;
  return file->kind == DocumentKind::Flow ? FlowDump(*file, io) : TuneDump(*file, io);
}

int Run(Args args, Streams io) {
  if (args.empty()) {
    PrintUsage(io.err);
    return kUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintUsage(io.out);
    io.out.flush();
    return kDone;
  }
  if (args[0] == "--man" && args.size() == 1) {
    PrintManPage(io.out);
    io.out.flush();
    return io.out ? kDone : kFileError;
  }
  if (args[0] == "--version" || args[0] == "-V") {
    io.out << "pendra2-cli " << PENDRA2_VERSION << "\n";
    io.out.flush();
    return io.out ? kDone : kFileError;
  }
  const Entry* entry = nullptr;
  for (const auto& e : kCommands) {
    if (args[0] == e.name) entry = &e;
  }
  if (entry == nullptr) {
    io.err << "pendra2-cli: unknown command '" << args[0] << "'\n";
    PrintUsage(io.err);
    return kUsage;
  }
  int status = kDone;
  try {
    status = RunCommand(*entry, args.subspan(1), io);
  } catch (const std::filesystem::filesystem_error& e) {
    io.err << "pendra2-cli: " << e.path1().string() << ": " << e.code().message() << "\n";
    status = kFileError;
  } catch (const std::bad_alloc&) {
    io.err << "pendra2-cli: not enough memory\n";
    status = kFileError;
  }
  // Output that did not reach its reader whole (a full disk, a closed pipe) is a failure,
  // whatever the command thought of its own work.
  io.out.flush();
  if (!io.out) {
    io.err << "pendra2-cli: the output could not be written whole\n";
    if (status == kDone || status == kInterrupted) status = kFileError;
  }
  return status;
}

}  // namespace pendra2::cli
