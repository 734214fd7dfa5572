#include "cli/output_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace pendra2::cli {
namespace {

namespace fs = std::filesystem;

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

std::string UniqueSuffix() {
  std::random_device random;
  return ".pendra2-" + std::to_string(random()) + ".part";
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

std::optional<PendingOutput> PrepareOutput(const std::string& target, Streams io) {
  std::error_code ec;
  const fs::file_status status = fs::status(target, ec);  // through links
  if (ec && status.type() != fs::file_type::not_found) {
    // A link loop, a name too long for the system, a folder we may not look into.
    io.err << "pendra2-cli: " << target << ": cannot be written: " << ec.message() << "\n";
    return std::nullopt;
  }
  if (fs::is_directory(status)) {
    io.err << "pendra2-cli: " << target << ": is a folder; give a file name\n";
    return std::nullopt;
  }
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    return PendingOutput{target, target};  // a device or a pipe (/dev/stdout) takes it as it comes
  }
  // The file is replaced where a link leads, also a link to a file yet to be made; the
  // status above has already refused loops.
  fs::path real = target;
  for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(real, ec)); ++hops) {
    const fs::path next = fs::read_symlink(real, ec);
    if (ec) break;
    real = next.is_absolute() ? next : real.parent_path() / next;
  }
  const fs::path folder = real.has_parent_path() ? real.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, ec)) {
    io.err << "pendra2-cli: " << target << ": the folder " << folder.string()
           << " does not exist\n";
    return std::nullopt;
  }
  fs::path beside = real;
  beside += UniqueSuffix();
  return PendingOutput{beside.string(), real.string()};
}

int CommitOutput(const PendingOutput& pending, Streams io) {
  if (pending.file == pending.target) return kDone;
  std::error_code ec;
  fs::rename(pending.file, pending.target, ec);
  if (ec) {
    DiscardOutput(pending);
    io.err << "pendra2-cli: " << pending.target << ": cannot be written: " << ec.message() << "\n";
    return kFileError;
  }
  return kDone;
}

void DiscardOutput(const PendingOutput& pending) {
  if (pending.file == pending.target) return;
  std::error_code ec;
  fs::remove(pending.file, ec);
}

int WriteOutputFile(const std::string& target, std::string_view bytes, Streams io) {
  const auto pending = PrepareOutput(target, io);
  if (!pending) return kFileError;
  std::ofstream stream(pending->file, std::ios::binary | std::ios::trunc);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  stream.flush();
  stream.close();
  if (!stream) {
    DiscardOutput(*pending);
    io.err << "pendra2-cli: " << target
           << ": cannot be written whole (disk full, or no permission?); "
              "any file there before is unchanged\n";
    return kFileError;
  }
  return CommitOutput(*pending, io);
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
