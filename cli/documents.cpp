#include "cli/documents.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "flowchart/flow_file.h"
#include "flowchart/recompute.h"
#include "melody/tune_file.h"

namespace pendra2::cli {
namespace {

namespace fs = std::filesystem;
namespace fc = pendra2::flowchart;
namespace ml = pendra2::melody;

// Both kinds are a few hundred kilobytes at most; reading stops here so that a device or an
// endless pipe given as input cannot fill the memory. The loaders ignore trailing bytes.

std::string LowerExtension(const std::string& path) {
  std::string ext = fs::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

interaction::UserMessage Refusal(const std::string& path, std::string_view why) {
  return {path + ": " + std::string(why), "pendra2-cli", interaction::PromptIcon::Error};
}

// Why a file of the wrong kind is refused: what it is, or that it is neither.
interaction::UserMessage WrongKind(const InputFile& file, DocumentKind wanted) {
  if (file.kind == DocumentKind::Unknown) {
    return Refusal(file.path, "neither a Stepcraft program (.flc) nor a Chimecraft tune (.olg)");
  }
  return Refusal(file.path, wanted == DocumentKind::Flow
                                ? "a Chimecraft tune, not a Stepcraft program (.flc)"
                                : "a Stepcraft program, not a Chimecraft tune (.olg)");
}

}  // namespace

std::string OneLine(std::string_view text) {
  std::string s(text);
  std::replace(s.begin(), s.end(), '\n', ' ');
  return s;
}

void Tell(const interaction::UserMessage& message, Streams io) {
  io.err << "pendra2-cli: " << OneLine(message.text) << "\n";
}

DocumentKind Sniff(const std::vector<uint8_t>& bytes, const std::string& path) {
  if (fc::HasProgramMagic(bytes)) return DocumentKind::Flow;
  if (ml::HasTuneMagic(bytes)) return DocumentKind::Tune;
  const std::string ext = LowerExtension(path);
  if (ext == ".flc") return DocumentKind::Flow;
  if (ext == ".olg") return DocumentKind::Tune;
  return DocumentKind::Unknown;
}

interaction::Outcome ReadInputFile(const std::string& path, InputFile& file, std::size_t limit) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec && status.type() != fs::file_type::not_found) {
    // A link loop, a name too long for the system, a folder we may not look into.
    return Refusal(path, "cannot be reached: " + ec.message());
  }
  if (!fs::exists(status)) {
    return Refusal(path, fs::is_symlink(fs::symlink_status(path, ec)) ? "a link that leads nowhere"
                                                                      : "no such file");
  }
  if (fs::is_directory(status)) return Refusal(path, "is a folder, not a file");
  std::ifstream in(path, std::ios::binary);
  if (!in) return Refusal(path, "cannot be opened (no permission to read it?)");
  file.path = path;
  file.bytes.resize(limit);
  in.read(reinterpret_cast<char*>(file.bytes.data()), static_cast<std::streamsize>(limit));
  if (in.bad()) return Refusal(path, "cannot be read");
  file.bytes.resize(static_cast<std::size_t>(in.gcount()));
  file.kind = Sniff(file.bytes, path);
  return {};
}

interaction::Outcome LoadFlowDocument(const InputFile& file, fc::FlowProgram& program) {
  if (file.kind != DocumentKind::Flow) return WrongKind(file, DocumentKind::Flow);
  // Named .flc but without the program's magic: the same test as Stepcraft's, worded for
  // the terminal.
  if (!fc::HasProgramMagic(file.bytes))
    return Refusal(file.path, "not a Stepcraft program file (it does not start with \"FL\")");
  fc::NewProgram(program);
  fc::Recompute(program);
  const interaction::Outcome result = fc::LoadFlowBytes(program, file.bytes);
  if (result.ok()) return {};
  return interaction::UserMessage{file.path + ": " + result.message().text,
                                  result.message().caption, interaction::PromptIcon::Information};
}

interaction::Outcome LoadTuneDocument(const InputFile& file, ml::MelodyState& state,
                                      std::vector<std::string>& warnings) {
  if (file.kind != DocumentKind::Tune) return WrongKind(file, DocumentKind::Tune);
  ml::ResetScore(state.score);
  // Chimecraft's own judgement, worded for the terminal.
  const ml::LoadFindings f = ml::LoadTuneBytes(state.score, state.header, file.bytes);
  if (f.verdict == ml::TuneVerdict::kShorterThanHeader) {
    return Refusal(file.path, "not a Chimecraft tune file (only " + std::to_string(f.bytesRead) +
                                  " bytes, shorter than the 64-byte header)");
  }
  if (f.verdict == ml::TuneVerdict::kNotATune) {
    return Refusal(file.path, "not a Chimecraft tune file (it does not start with \"OL\")");
  }
  if (f.verdict == ml::TuneVerdict::kCutShort) {
    warnings.push_back(file.path + ": warning: the file ends after " + std::to_string(f.bytesRead) +
                       " of " + std::to_string(ml::kTuneFileSize) +
                       " bytes; the missing columns are empty");
  }
  if (f.tempoOutOfRange) {
    warnings.push_back(file.path + ": warning: tempo index " + std::to_string(f.headerTempoIndex) +
                       " is outside 0-12 and is taken as " +
                       std::to_string(ml::kDefaultTempoIndex));
  }
  return {};
}

std::optional<InputFile> ReadInput(const std::string& path, Streams io, std::size_t limit) {
  InputFile file;
  if (const auto read = ReadInputFile(path, file, limit); !read.ok()) {
    Tell(read.message(), io);
    return std::nullopt;
  }
  return file;
}

std::unique_ptr<fc::FlowProgram> LoadFlow(const InputFile& file, Streams io) {
  // The program table is 200 KB: kept off the stack.
  auto program = std::make_unique<fc::FlowProgram>();
  if (const auto loaded = LoadFlowDocument(file, *program); !loaded.ok()) {
    Tell(loaded.message(), io);
    return nullptr;
  }
  return program;
}

std::unique_ptr<ml::MelodyState> LoadTune(const InputFile& file, Streams io) {
  auto state = std::make_unique<ml::MelodyState>();
  std::vector<std::string> warnings;
  const auto loaded = LoadTuneDocument(file, *state, warnings);
  for (const auto& w : warnings) io.err << "pendra2-cli: " << w << "\n";
  if (!loaded.ok()) {
    Tell(loaded.message(), io);
    return nullptr;
  }
  return state;
}

}  // namespace pendra2::cli
