#pragma once
// Board access is exclusive per device: every program of the suite (editors, launcher,
// command line) takes the device's lock around each request and its reply, and around a
// whole image write. The board answers every reader, so without it two programs would
// read each other's replies and could interleave two images.
//
// The lock is an advisory file lock in the user's runtime folder, named after the device
// path; the system drops it when its holder ends, so a crashed program never leaves the
// board locked. The lock file also counts the replies the board has given, so a program can
// tell how many of them reached its own read channel while others held the lock.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace pendra2::device {

// Called once while waiting for another program to finish with the board.
using LockWaitNotice = std::function<void(const std::string& devicePath)>;

// The folder for the lock files: $XDG_RUNTIME_DIR, else a folder of this user's own in the
// temporary folder; empty when there is none that is safely ours.
std::filesystem::path LockFolder();
// The lock file's name for a device path: distinct paths give distinct names, and the name
// stays within what file systems allow however long the path is.
std::string LockFileName(const std::string& devicePath);

class DeviceLock {
 public:
  DeviceLock() = default;
  ~DeviceLock();
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;

  enum class Result { Held, Unavailable, TimedOut };

  // Waits until this object holds the device's lock, at most `limit`; `waiting` is told
  // once the wait has lasted a moment. Unavailable: no lock file can be made (an unwritable
  // runtime folder); the caller goes on unlocked then, as every program would.
  Result Acquire(const std::string& devicePath, std::chrono::milliseconds limit,
                 const LockWaitNotice& waiting);
  void Release();
  // Removes the lock file, then releases: for a device found gone (unplugged, or a virtual
  // board that ended), whose lock file would otherwise stay behind for good. Whoever was
  // waiting on the removed file moves on to the one at its path (Acquire), so the lock
  // stays one lock.
  void Discard();
  bool held() const { return fd_ >= 0; }

  // The board's reply count kept in the lock file; only while held.
  uint64_t ReplyCount() const;
  void SetReplyCount(uint64_t count);

 private:
  int fd_ = -1;
  std::filesystem::path file_;  // the file held, while held
};

}  // namespace pendra2::device
