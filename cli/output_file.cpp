#include "cli/output_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "interaction/save_whole.h"

namespace pendra2::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kNotWrittenWhole =
    ": cannot be written whole (disk full, or no permission?); any file there before is "
    "unchanged\n";

std::string HexLines(std::span<const uint8_t> image) {
  std::string text;
  char cell[4];
  for (std::size_t i = 0; i < image.size(); ++i) {
    std::snprintf(cell, sizeof cell, "%02X", image[i]);
    text += cell;
    text += (i % 16 == 15) ? '\n' : ' ';
  }
  return text;
}

// A device or a pipe (/dev/stdout) takes the bytes as they come; there is no file to keep.
int WriteDirectly(const std::string& target, std::string_view bytes, Streams io) {
  std::ofstream stream(target, std::ios::binary);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  stream.flush();
  stream.close();
  if (stream) return kDone;
  io.err << "pendra2-cli: " << target << kNotWrittenWhole;
  return kFileError;
}

}  // namespace

bool OutputIsInput(const std::string& input, const std::string& output) {
  std::error_code ec;
  return fs::equivalent(input, output, ec) && !ec;
}

int RefuseOutputIsInput(const std::string& input, const std::string& output, Streams io) {
  if (!OutputIsInput(input, output)) return kDone;
  io.err << "pendra2-cli: " << output << " is the input file itself; "
         << "writing it would destroy the input: give another output file\n";
  return kFileError;
}

int WriteOutputFile(const std::string& target, std::string_view bytes, Streams io) {
  std::error_code ec;
  const fs::file_status status = fs::status(target, ec);  // through links
  if (ec && status.type() != fs::file_type::not_found) {
    // A link loop, a name too long for the system, a folder we may not look into.
    io.err << "pendra2-cli: " << target << ": cannot be written: " << ec.message() << "\n";
    return kFileError;
  }
  if (fs::is_directory(status)) {
    io.err << "pendra2-cli: " << target << ": is a folder; give a file name\n";
    return kFileError;
  }
  if (fs::exists(status) && !fs::is_regular_file(status)) return WriteDirectly(target, bytes, io);
  // Where a link leads, also a link to a file yet to be made.
  const fs::path real = interaction::SaveTarget(target, ec);
  if (ec) {
    io.err << "pendra2-cli: " << target << ": cannot be written: " << ec.message() << "\n";
    return kFileError;
  }
  const fs::path folder = real.has_parent_path() ? real.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, ec)) {
    io.err << "pendra2-cli: " << target << ": the folder " << folder.string()
           << " does not exist\n";
    return kFileError;
  }
  const auto saved = interaction::SaveWhole(
      target, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  switch (saved.result) {
    case interaction::SaveResult::kSaved:
      return kDone;
    case interaction::SaveResult::kUnchanged:
      io.err << "pendra2-cli: " << target << kNotWrittenWhole;
      return kFileError;
    case interaction::SaveResult::kMayBeDamaged:
      io.err << "pendra2-cli: " << target << ": its folder cannot be written, so it was written "
             << "in place, and that failed (" << saved.reason.message()
             << "): the file may be damaged now\n";
      return kFileError;
  }
  return kFileError;
}

std::optional<ImageOptions> ParseImageOptions(Args args, Streams io) {
  ImageOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--hex") {
      o.hex = true;
    } else if (a == "-o") {
      if (i + 1 >= args.size() || o.out) {
        io.err << "pendra2-cli: -o needs one output file name\n";
        return std::nullopt;
      }
      o.out = args[++i];
    } else if (!a.empty() && a[0] == '-') {
      io.err << "pendra2-cli: image: unknown option '" << a << "'\n";
      return std::nullopt;
    } else if (o.file.empty()) {
      o.file = a;
    } else {
      io.err << "pendra2-cli: image takes one input file\n";
      return std::nullopt;
    }
  }
  if (o.file.empty()) {
    io.err << "pendra2-cli: image needs an input file\n";
    return std::nullopt;
  }
  return o;
}

int WriteImage(std::span<const uint8_t> image, const ImageOptions& options, Streams io) {
  const std::string bytes = options.hex ? HexLines(image) : std::string(image.begin(), image.end());
  if (options.out) return WriteOutputFile(*options.out, bytes, io);
  io.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return kDone;
}

}  // namespace pendra2::cli
