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
constexpr std::size_t kReadLimit = 4 * fc::kFlowFileBytes;

std::string LowerExtension(const std::string& path) {
  std::string ext = fs::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

// Why a file of the wrong kind is refused: what it is, or that it is neither.
void SayWrongKind(const InputFile& file, DocumentKind wanted, Streams io) {
  io.err << "pendra2-cli: " << file.path << ": ";
  if (file.kind == DocumentKind::Unknown) {
    io.err << "neither a Stepcraft program (.flc) nor a Chimecraft tune (.olg)\n";
  } else if (wanted == DocumentKind::Flow) {
    io.err << "a Chimecraft tune, not a Stepcraft program (.flc)\n";
  } else {
    io.err << "a Stepcraft program, not a Chimecraft tune (.olg)\n";
  }
}

}  // namespace

std::string OneLine(std::string_view text) {
  std::string s(text);
  std::replace(s.begin(), s.end(), '\n', ' ');
  return s;
}

DocumentKind Sniff(const std::vector<uint8_t>& bytes, const std::string& path) {
  if (bytes.size() >= 2 && bytes[1] == 'L') {
    if (bytes[0] == 'F') return DocumentKind::Flow;
    if (bytes[0] == 'O') return DocumentKind::Tune;
  }
  const std::string ext = LowerExtension(path);
  if (ext == ".flc") return DocumentKind::Flow;
  if (ext == ".olg") return DocumentKind::Tune;
  return DocumentKind::Unknown;
}

std::optional<InputFile> ReadInput(const std::string& path, Streams io) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec && status.type() != fs::file_type::not_found) {
    // A link loop, a name too long for the system, a folder we may not look into.
    io.err << "pendra2-cli: " << path << ": cannot be reached: " << ec.message() << "\n";
    return std::nullopt;
  }
  if (!fs::exists(status)) {
    io.err << "pendra2-cli: " << path << ": "
           << (fs::is_symlink(fs::symlink_status(path, ec)) ? "a link that leads nowhere"
                                                            : "no such file")
           << "\n";
    return std::nullopt;
  }
  if (fs::is_directory(status)) {
    io.err << "pendra2-cli: " << path << ": is a folder, not a file\n";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    io.err << "pendra2-cli: " << path << ": cannot be opened (no permission to read it?)\n";
    return std::nullopt;
  }
  InputFile file;
  file.path = path;
  file.bytes.resize(kReadLimit);
  in.read(reinterpret_cast<char*>(file.bytes.data()), static_cast<std::streamsize>(kReadLimit));
  if (in.bad()) {
    io.err << "pendra2-cli: " << path << ": cannot be read\n";
    return std::nullopt;
  }
  file.bytes.resize(static_cast<std::size_t>(in.gcount()));
  file.kind = Sniff(file.bytes, path);
  return file;
}

std::unique_ptr<fc::FlowProgram> LoadFlow(const InputFile& file, Streams io) {
  if (file.kind != DocumentKind::Flow) {
    SayWrongKind(file, DocumentKind::Flow, io);
    return nullptr;
  }
  // The program table is 200 KB: kept off the stack.
  auto program = std::make_unique<fc::FlowProgram>();
  fc::NewProgram(*program);
  fc::Recompute(*program);
  const fc::FlowFileResult result = fc::LoadFlowBytes(*program, file.bytes);
  if (!result.ok) {
    // Named .flc but without the program's magic: the version test would call it a file of
    // a newer version, the length test a program cut short; it is neither.
    const bool magic = file.bytes.size() >= 2 && file.bytes[0] == 'F' && file.bytes[1] == 'L';
    if (!magic) {
      io.err << "pendra2-cli: " << file.path
             << ": not a Stepcraft program file (it does not start with \"FL\")\n";
    } else {
      io.err << "pendra2-cli: " << file.path << ": " << OneLine(result.message) << "\n";
    }
    return nullptr;
  }
  return program;
}

std::unique_ptr<ml::MelodyState> LoadTune(const InputFile& file, Streams io) {
  if (file.kind != DocumentKind::Tune) {
    SayWrongKind(file, DocumentKind::Tune, io);
    return nullptr;
  }
  auto state = std::make_unique<ml::MelodyState>();
  ml::ResetScore(state->score);
  const ml::LoadFindings f = ml::LoadTuneBytes(state->score, state->header, file.bytes);
  if (f.bytesRead < ml::kTuneHeaderSize || f.badMagic) {
    io.err << "pendra2-cli: " << file.path << ": not a Chimecraft tune file (";
    if (f.bytesRead < ml::kTuneHeaderSize) {
      io.err << "only " << f.bytesRead << " bytes, shorter than the 64-byte header";
    } else {
      io.err << "it does not start with \"OL\"";
    }
    io.err << ")\n";
    return nullptr;
  }
  if (f.shortFile) {
    io.err << "pendra2-cli: " << file.path << ": warning: the file ends after " << f.bytesRead
           << " of " << ml::kTuneFileSize << " bytes; the missing columns are empty\n";
  }
  if (f.tempoOutOfRange) {
    io.err << "pendra2-cli: " << file.path << ": warning: tempo index " << f.headerTempoIndex
           << " is outside 0-12 and is taken as " << ml::kDefaultTempoIndex << "\n";
  }
  return state;
}

}  // namespace pendra2::cli
