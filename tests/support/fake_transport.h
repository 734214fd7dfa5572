#pragma once
// An in-process Transport for tests: a list of HID interfaces, some of them boards driven by
// the real board model. It records every call, can refuse opens, fail writes or reads (an
// unplugged board), stay silent (a hung board), answer late, or refuse the list. A board
// worker's thread may use it while the test looks at it: every call takes its lock.

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/transport.h"
#include "virtual_board/board_model.h"

namespace pendra2::test {

struct FakeInterface {
  std::string path;
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  bool openable = true;       // false: every open fails (held by another process)
  bool writeOpenable = true;  // false: only the write-only open fails
  std::shared_ptr<virtual_board::BoardModel> board;  // set when it answers like a board
  std::string serial = {};                           // as the platform lists them
  std::string port = {};
};

struct FakeCall {
  enum Kind { Enumerate, Open, Write, Read, Close } kind;
  std::string path;
  device::Access access = device::Access::ReadWrite;
  device::Report report{};
  int timeoutMs = 0;
  bool ok = false;
};

class FakeTransport : public device::Transport {
 public:
  // Adds a board interface driven by a fresh board model, and returns the model.
  std::shared_ptr<virtual_board::BoardModel> AddBoard(const std::string& path,
                                                      uint16_t vendorId = device::kPendraVendor,
                                                      uint16_t productId = device::kPendraProduct,
                                                      virtual_board::BoardIdentity identity = {});
  void AddInterface(FakeInterface iface) { interfaces_.push_back(std::move(iface)); }
  FakeInterface& interface(const std::string& path);
  // Unplugs: the interface leaves the list and every open handle on it fails from now on.
  void Unplug(const std::string& path);

  std::atomic<bool> listUnavailable = false;
  std::atomic<bool> silent = false;  // the boards take requests but never answer
  std::atomic<int> lateReads = 0;    // reads that run out before a waiting reply is read

  device::InterfaceList Enumerate() override;
  bool ListAvailable() const override { return !listUnavailable; }
  device::Handle Open(const std::string& path, device::Access access) override;
  bool Write(device::Handle handle, const device::Report& report) override;
  bool Read(device::Handle handle, device::Report& report, int timeoutMs) override;
  void Close(device::Handle handle) override;
  // What an unplugged interface's calls fail with; a silent board's reads say nothing.
  static constexpr const char* kUnpluggedText = "No such device";
  std::string LastErrorText() const override { return lastError_; }
  // In-process boards: no other program can reach them, so no device lock.
  bool SharedBetweenPrograms() const override { return false; }

  std::vector<FakeCall> calls() const {
    const std::lock_guard lock(mutex_);
    return calls_;
  }
  void ClearCalls() {
    const std::lock_guard lock(mutex_);
    calls_.clear();
  }
  int CountCalls(FakeCall::Kind kind) const;
  std::vector<device::Report> Writes() const;  // the reports written successfully
  int openHandles() const {
    const std::lock_guard lock(mutex_);
    return static_cast<int>(open_.size());
  }

 private:
  struct OpenHandle {
    std::string path;
    device::Access access;
    bool unplugged = false;
  };
  // The open handle, when it is still usable for `unusable`'s opposite direction.
  const OpenHandle* Usable(device::Handle handle, device::Access unusable) const;

  mutable std::recursive_mutex mutex_;
  std::vector<FakeInterface> interfaces_;
  std::map<device::Handle, OpenHandle> open_;
  // Replies waiting for a reader, per interface path (a board answers every reader).
  std::map<std::string, std::vector<device::Report>> pending_;
  device::Handle next_ = 100;
  std::string lastError_;
  std::vector<FakeCall> calls_;
};

}  // namespace pendra2::test
