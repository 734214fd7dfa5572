#include "interaction/save_whole.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <random>
#include <string>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pendra2::interaction {
namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows before it calls it a loop.
constexpr int kMaxLinks = 40;
constexpr int kNameAttempts = 8;

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, CloseFile>;

// errno as a reason; a failure the library gave no reason for still is one.
std::error_code ErrorOf(int error) {
  return error != 0 ? std::error_code(error, std::generic_category())
                    : std::make_error_code(std::errc::io_error);
}

std::error_code LastError() {
  return ErrorOf(errno);
}

// The file's own closing can be the first to hear of a full disk.
bool Close(OpenFile& file) {
  return std::fclose(file.release()) == 0;
}

bool WriteAll(std::FILE* file, std::span<const uint8_t> bytes) {
  return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

// On the disk, not just handed to the system, before the new file takes the old one's place:
// otherwise a crash right after the rename could leave neither.
bool Flush(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#if !defined(_WIN32)
  return ::fsync(::fileno(file)) == 0;
#else
  return true;
#endif
}

// The new file stays with the old one's group (and owner, when root saves someone's file), as
// far as the system lets us, so that its permission bits go on meaning what they meant.
void KeepOwner(std::FILE* file, std::FILE* original) {
#if !defined(_WIN32)
  struct stat info {};
  if (::fstat(::fileno(original), &info) != 0) return;
  const uid_t owner = ::geteuid() == 0 ? info.st_uid : static_cast<uid_t>(-1);
  if (::fchown(::fileno(file), owner, info.st_gid) != 0) {
    // Not a member of that group: the file is the user's own, as any new file would be.
  }
#else
  (void)file;
  (void)original;
#endif
}

fs::path Beside(const fs::path& target, unsigned number, bool shortName) {
  const std::string suffix = ".saving-" + std::to_string(number % 1000000);
  // A document name near the system's limit leaves no room for the suffix.
  if (shortName) return target.parent_path() / suffix;
  fs::path beside = target;
  beside += suffix;
  return beside;
}

// Over the old bytes, then cut to the new length: a file of the same length (every program
// and tune is) needs no new room on the disk, so a full disk cannot stop it half-way.
SaveOutcome WriteInPlace(OpenFile file, const fs::path& target, std::span<const uint8_t> bytes) {
  errno = 0;
  bool written = WriteAll(file.get(), bytes) && Flush(file.get());
  std::error_code reason = written ? std::error_code() : LastError();
  if (!Close(file) && written) {
    written = false;
    reason = LastError();
  }
  if (written) {
    fs::resize_file(target, bytes.size(), reason);
    written = !reason;
  }
  if (!written) return {SaveResult::kMayBeDamaged, reason};
  return {SaveResult::kSaved, {}};
}

SaveOutcome Replace(OpenFile file, const fs::path& temporary, OpenFile original,
                    const fs::path& target, fs::perms bits, std::span<const uint8_t> bytes) {
  std::error_code reason;
  // The bits before any byte: a private file's content is never readable by others, even
  // for a moment.
  if (original) {
    KeepOwner(file.get(), original.get());
    fs::permissions(temporary, bits, fs::perm_options::replace, reason);
  }
  errno = 0;
  bool written = !reason && WriteAll(file.get(), bytes) && Flush(file.get());
  if (!written && !reason) reason = LastError();
  if (!Close(file) && written) {
    written = false;
    reason = LastError();
  }
  // Some systems will not rename over a file that is still open.
  original.reset();
  if (written) fs::rename(temporary, target, reason);
  if (!written || reason) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return {SaveResult::kUnchanged, reason};
  }
  return {SaveResult::kSaved, {}};
}

}  // namespace

fs::path SaveTarget(const fs::path& path, std::error_code& ec) {
  fs::path target = path;
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    const fs::file_status status = fs::symlink_status(target, ec);
    if (ec && status.type() != fs::file_type::not_found) return {};
    ec.clear();
    if (!fs::is_symlink(status)) return target;
    const fs::path next = fs::read_symlink(target, ec);
    if (ec) return {};
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  ec = std::make_error_code(std::errc::too_many_symbolic_link_levels);
  return {};
}

SaveOutcome SaveWhole(const fs::path& path, std::span<const uint8_t> bytes) {
  std::error_code ec;
  const fs::path target = SaveTarget(path, ec);
  if (ec) return {SaveResult::kUnchanged, ec};
  const fs::file_status status = fs::symlink_status(target, ec);
  if (ec && status.type() != fs::file_type::not_found) return {SaveResult::kUnchanged, ec};
  if (fs::is_directory(status)) {
    return {SaveResult::kUnchanged, std::make_error_code(std::errc::is_a_directory)};
  }
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    return {SaveResult::kUnchanged, std::make_error_code(std::errc::not_supported)};
  }
  // Opening the file for writing asks the system whether the user may change it, with all of
  // its rules; a read-only file is not replaced behind the user's back. Held open, it is
  // also what gets written when its folder turns out to be closed to new files.
  OpenFile original;
  if (fs::exists(status)) {
    errno = 0;
    original.reset(std::fopen(target.string().c_str(), "r+b"));
    if (!original) return {SaveResult::kUnchanged, LastError()};
  }

  std::random_device random;
  bool shortName = false;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const fs::path temporary = Beside(target, random(), shortName);
    errno = 0;
    OpenFile file(std::fopen(temporary.string().c_str(), "wbx"));
    if (file) {
      return Replace(std::move(file), temporary, std::move(original), target,
                     status.permissions() & fs::perms::all, bytes);
    }
    const int error = errno;
    if (error == EEXIST) continue;
    if (error == ENAMETOOLONG && !shortName) {
      shortName = true;
      continue;
    }
    if ((error == EACCES || error == EPERM) && original) {
      return WriteInPlace(std::move(original), target, bytes);
    }
    return {SaveResult::kUnchanged, ErrorOf(error)};
  }
  return {SaveResult::kUnchanged, std::make_error_code(std::errc::file_exists)};
}

}  // namespace pendra2::interaction
