// import-midi and export: tunes from MIDI files and out to MIDI and WAV, through the same
// core as Chimecraft's import dialog and its export commands.

#include <cstdio>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/numbers.h"
#include "cli/terminal_text.h"
#include "melody/exchange/import_texts.h"
#include "melody/exchange/midi_import.h"
#include "melody/exchange/score_from_midi.h"
#include "melody/exchange/tune_export.h"
#include "melody/played_tune.h"
#include "melody/tune_file.h"

namespace pendra2::cli {
namespace {

namespace ex = pendra2::melody::exchange;

constexpr const char* kImportUsage =
    "import-midi FILE.mid -o OUT.olg [--track N] [--transpose N] [--grid V] | FILE.mid --list";
constexpr const char* kExportUsage = "export FILE.olg -o OUT.mid|OUT.wav";

struct ImportArgs {
  std::string input;
  std::string output;
  bool list = false;
  std::optional<int> track;  // from 1
  std::optional<int> transpose;
  std::optional<std::size_t> grid;
};

int UsageError(const std::string& why, const char* usage, Streams io) {
  io.err << "pendra2-cli: " << why << "\nusage: pendra2-cli " << usage << "\n";
  return kUsage;
}

std::optional<std::size_t> GridNamed(std::string_view name) {
  for (std::size_t g = 0; g < ex::kGridValues.size(); ++g) {
    if (ex::kGridValues[g].cliName == name) return g;
  }
  return std::nullopt;
}

// Nullopt after the usage error.
std::optional<ImportArgs> ParseImport(Args args, Streams io) {
  ImportArgs parsed;
  const auto fail = [&](const std::string& why) {
    UsageError(why, kImportUsage, io);
    return std::nullopt;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const std::string value = i + 1 < args.size() ? args[i + 1] : "";
    if (arg == "-o") {
      if (value.empty() || !parsed.output.empty()) return fail("-o needs one file name");
      parsed.output = args[++i];
    } else if (arg == "--list") {
      parsed.list = true;
    } else if (arg == "--track") {
      parsed.track = ParseNumber(value, 1, 65535 * 16);
      if (!parsed.track) return fail("--track takes a number from the --list, not '" + value + "'");
      ++i;
    } else if (arg == "--transpose") {
      parsed.transpose = ParseNumber(value, -ex::kMaxTranspose, ex::kMaxTranspose);
      if (!parsed.transpose)
        return fail("--transpose takes semitones from -96 to 96, not '" + value + "'");
      ++i;
    } else if (arg == "--grid") {
      parsed.grid = GridNamed(value);
      if (!parsed.grid)
        return fail("--grid takes 2, 4, 4t, 8, 8t, 16, 16t or 32 (t: triplet), not '" + value +
                    "'");
      ++i;
    } else if (!arg.empty() && arg[0] == '-') {
      return fail("unknown option '" + arg + "'");
    } else if (parsed.input.empty()) {
      parsed.input = arg;
    } else {
      return fail("more than one input file");
    }
  }
  if (parsed.input.empty()) return fail("a MIDI file is needed");
  if (!parsed.list && parsed.output.empty()) return fail("an output file is needed (-o OUT.olg)");
  return parsed;
}

// A track name as the file spells it: UTF-8 when it is, else Shift JIS, as Japanese
// sequencers write it.
std::string NameText(const std::string& bytes) {
  const std::string decoded = ex::IsUtf8(bytes) ? bytes : DecodeStoredText(bytes);
  return EscapeControls(decoded);
}

void List(const ex::MidiSong& song, Streams io) {
  const std::size_t proposed = ex::ProposePart(song);
  io.out << "#  TRACK  CHANNEL  NOTES  NAME\n";
  for (std::size_t i = 0; i < song.parts.size(); ++i) {
    const ex::MidiPart& part = song.parts[i];
    char line[64];
    std::snprintf(line, sizeof line, "%-2zu %-6d %-8d %-6zu ", i + 1, part.track, part.channel,
                  part.notes.size());
    io.out << line << NameText(part.name) << (i == proposed ? "  (proposed)" : "") << "\n";
  }
}

std::string Signed(int n) {
  return (n > 0 ? "+" : "") + std::to_string(n);
}

}  // namespace

int ImportMidi(Args args, Streams io) {
  const auto parsed = ParseImport(args, io);
  if (!parsed) return kUsage;
  // One byte past the import's own limit tells a file too large from one that fits.
  const auto file = ReadInput(parsed->input, io, ex::kMaxMidiFileBytes + 1);
  if (!file) return kFileError;
  const ex::MidiFile midi = ex::MidiFromBytes(file->bytes, file->path);
  if (!midi.outcome.ok()) {
    Tell(midi.outcome.message(), io);
    return kFileError;
  }
  const ex::MidiSong& song = midi.song;
  if (parsed->list) {
    List(song, io);
    return kDone;
  }
  ex::ImportChoice choice = ex::ProposeImport(song);
  if (parsed->track) {
    if (static_cast<std::size_t>(*parsed->track) > song.parts.size()) {
      return UsageError("--track " + std::to_string(*parsed->track) + ": " + file->path +
                            " lists " + std::to_string(song.parts.size()) + " (see --list)",
                        kImportUsage, io);
    }
    choice.part = static_cast<std::size_t>(*parsed->track - 1);
    choice.grid = ex::ProposeGrid(song.parts[choice.part], song.ppqn);
    choice.transpose = ex::ProposeTranspose(song.parts[choice.part]);
  }
  if (parsed->grid) choice.grid = *parsed->grid;
  if (parsed->transpose) choice.transpose = *parsed->transpose;
  if (const int status = RefuseOutputIsInput(parsed->input, parsed->output, io); status != kDone)
    return status;

  const ex::ImportResult result = ex::ScoreFromMidi(song, choice);
  const melody::SavedTune saved = melody::TuneForSaving(result.score, melody::TuneHeader{});
  if (const int status = WriteOutputFile(
          parsed->output, {reinterpret_cast<const char*>(saved.bytes.data()), saved.bytes.size()},
          io);
      status != kDone)
    return status;
  if (const auto report = ex::ImportReport(result))
    io.err << "pendra2-cli: " << file->path << ": " << OneLine(report->text) << "\n";
  const ex::MidiPart& part = song.parts[choice.part];
  io.out << "wrote " << parsed->output << ": " << result.columns << " columns at "
         << melody::TempoRowOf(result.score.tempoIndex).label << ", from track " << part.track
         << " channel " << part.channel << ", " << ex::kGridValues[choice.grid].cliName
         << " a column, transposed " << Signed(choice.transpose) << "\n";
  return kDone;
}

int Export(Args args, Streams io) {
  std::string input, output;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 >= args.size() || !output.empty())
        return UsageError("-o needs one file name", kExportUsage, io);
      output = args[++i];
    } else if (!args[i].empty() && args[i][0] == '-') {
      return UsageError("unknown option '" + args[i] + "'", kExportUsage, io);
    } else if (input.empty()) {
      input = args[i];
    } else {
      return UsageError("more than one input file", kExportUsage, io);
    }
  }
  if (input.empty()) return UsageError("a tune (.olg) is needed", kExportUsage, io);
  if (output.empty()) return UsageError("an output file is needed (-o OUT)", kExportUsage, io);
  const auto kind = ex::ExportKindOf(output);
  if (!kind) {
    return UsageError("the output's name says what to write: end it in .mid or .wav", kExportUsage,
                      io);
  }
  const auto file = ReadInput(input, io);
  if (!file) return kFileError;
  const auto state = LoadTune(*file, io);
  if (!state) return kFileError;
  if (const int status = RefuseOutputIsInput(input, output, io); status != kDone) return status;

  const ex::ExportBytes bytes = ex::TuneFileBytes(state->score, *kind);
  if (!bytes.outcome.ok()) {
    io.err << "pendra2-cli: " << input << ": " << OneLine(bytes.outcome.message().text) << "\n";
    return kFileError;
  }
  if (const int status = WriteOutputFile(
          output, {reinterpret_cast<const char*>(bytes.bytes.data()), bytes.bytes.size()}, io);
      status != kDone)
    return status;
  if (bytes.cut) io.err << "pendra2-cli: " << input << ": " << OneLine(bytes.cut->text) << "\n";
  const melody::PlayedTune played = melody::PlayOut(state->score);
  const long seconds = static_cast<long>(played.columns.size()) * played.periodMs / 1000;
  io.out << "wrote " << output << ": " << played.columns.size() << " columns played, "
         << seconds / 60 << ":" << (seconds % 60 < 10 ? "0" : "") << seconds % 60 << "\n";
  return kDone;
}

}  // namespace pendra2::cli
