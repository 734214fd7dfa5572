#include "device/board_lock.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <thread>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pendra2::device {
namespace {

namespace fs = std::filesystem;

// A wait this long is worth telling the user about; shorter ones are ordinary turns.
constexpr auto kNoticeAfter = std::chrono::milliseconds(300);
constexpr auto kPollStep = std::chrono::milliseconds(5);
// File names stay well below the usual 255-byte limit.
constexpr std::size_t kMaxEncoded = 160;

uint64_t Fnv1a(const std::string& text) {
  uint64_t hash = 14695981039346656037ULL;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  return hash;
}

#if !defined(_WIN32)
// Whether the file open at `fd` is still the one at `file`, not removed nor replaced.
bool StillAt(int fd, const fs::path& file) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && ::lstat(file.c_str(), &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}
#endif

}  // namespace

fs::path LockFolder() {
  std::error_code ec;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime) {
    fs::path folder(runtime);
    if (folder.is_absolute() && fs::is_directory(folder, ec)) return folder;
  }
#if defined(_WIN32)
  return fs::temp_directory_path(ec);
#else
  fs::path folder = fs::temp_directory_path(ec) / ("pendra2-" + std::to_string(getuid()));
  ::mkdir(folder.c_str(), 0700);
  // The temporary folder is shared: a folder of that name that someone else made is not ours
  // to keep lock files in (empty: no lock then).
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid()) {
    return {};
  }
  return folder;
#endif
}

std::string LockFileName(const std::string& devicePath) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string encoded;
  for (const char c : devicePath) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '-' ||
        b == '_') {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[b >> 4];
      encoded += kHex[b & 0xF];
    }
  }
  if (encoded.size() > kMaxEncoded) {
    const uint64_t hash = Fnv1a(devicePath);
    encoded.resize(kMaxEncoded);
    encoded += '~';
    for (int shift = 60; shift >= 0; shift -= 4) encoded += kHex[(hash >> shift) & 0xF];
  }
  return "pendra2-board-" + encoded + ".lock";
}

DeviceLock::~DeviceLock() {
  Release();
}

#if defined(_WIN32)

// Windows opens HID devices for one program at a time anyway; no lock file is kept there.
DeviceLock::Result DeviceLock::Acquire(const std::string&, std::chrono::milliseconds,
                                       const LockWaitNotice&) {
  return Result::Unavailable;
}
void DeviceLock::Release() {}
void DeviceLock::Discard() {}
uint64_t DeviceLock::ReplyCount() const {
  return 0;
}
void DeviceLock::SetReplyCount(uint64_t) {}

#else

DeviceLock::Result DeviceLock::Acquire(const std::string& devicePath,
                                       std::chrono::milliseconds limit,
                                       const LockWaitNotice& waiting) {
  Release();
  const fs::path folder = LockFolder();
  if (folder.empty()) return Result::Unavailable;
  fs::path file = folder / LockFileName(devicePath);
  const auto start = std::chrono::steady_clock::now();
  bool told = false;
  int fd = -1;
  for (;;) {
    if (fd < 0) {
      fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
      if (fd < 0) return Result::Unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      if (StillAt(fd, file)) break;
      // The holder we waited for removed the file (Discard): a lock on it keeps out only
      // those who opened it too, not a program that makes a new one. So the new one it is.
      ::close(fd);
      fd = -1;
    } else if (errno != EWOULDBLOCK && errno != EINTR) {
      ::close(fd);
      return Result::Unavailable;
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    if (waited >= limit) {
      if (fd >= 0) ::close(fd);
      return Result::TimedOut;
    }
    if (!told && waited >= kNoticeAfter) {
      told = true;
      if (waiting) waiting(devicePath);
    }
    if (fd >= 0) std::this_thread::sleep_for(kPollStep);
  }
  fd_ = fd;
  file_ = std::move(file);
  return Result::Held;
}

void DeviceLock::Release() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
  file_.clear();
}

void DeviceLock::Discard() {
  if (fd_ < 0) return;
  // Only while the file is still ours: one made after ours went belongs to its maker.
  if (StillAt(fd_, file_)) ::unlink(file_.c_str());
  Release();
}

uint64_t DeviceLock::ReplyCount() const {
  if (fd_ < 0) return 0;
  std::array<unsigned char, 8> bytes{};
  if (::pread(fd_, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) return 0;
  uint64_t count = 0;
  for (int i = 7; i >= 0; --i) count = count << 8 | bytes[static_cast<std::size_t>(i)];
  return count;
}

void DeviceLock::SetReplyCount(uint64_t count) {
  if (fd_ < 0) return;
  std::array<unsigned char, 8> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<unsigned char>(count >> (8 * i));
  // A count that cannot be stored only costs the others a short wait for replies.
  [[maybe_unused]] const auto written = ::pwrite(fd_, bytes.data(), bytes.size(), 0);
}

#endif

}  // namespace pendra2::device
