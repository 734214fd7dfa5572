#pragma once
// Boards served by pendra2-virtual-board on this machine, found by server name.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "device/transport.h"

class QLocalSocket;

namespace pendra2::device {

class VirtualTransport : public Transport {
 public:
  // The boards in the order they are listed; a name nobody serves is a board not plugged in.
  explicit VirtualTransport(std::vector<std::string> names);
  ~VirtualTransport() override;
  VirtualTransport(const VirtualTransport&) = delete;
  VirtualTransport& operator=(const VirtualTransport&) = delete;

  // "a,b,c" as PENDRA2_VIRTUAL_BOARDS gives it; empty names are dropped.
  static std::vector<std::string> ParseNames(const std::string& list);

  InterfaceList Enumerate() override;
  Handle Open(const std::string& path, Access access) override;
  bool Write(Handle handle, const Report& report) override;
  bool Read(Handle handle, Report& report, int timeoutMs) override;
  void Close(Handle handle) override;
  std::string LastErrorText() const override { return lastError_; }
  // Boards are served to any number of connections at once, so a twin is just another
  // transport over the same names (knowing the identities this one has heard).
  std::unique_ptr<Transport> Sibling() const override;

 private:
  // What a socket that failed says of itself, kept for LastErrorText.
  bool Failed(const QLocalSocket& socket);

  std::unique_ptr<QLocalSocket> Connect(const std::string& name) const;
  // Until `size` bytes are in, the board goes away, `timeoutMs` pass or the transport is
  // interrupted.
  bool Await(QLocalSocket& socket, int64_t size, int timeoutMs) const;

  std::vector<std::string> names_;
  // The identifiers each board gave when it last answered.
  std::map<std::string, std::pair<uint16_t, uint16_t>> identities_;
  Handle next_ = 1;
  std::string lastError_;
  std::map<Handle, std::unique_ptr<QLocalSocket>> open_;
};

}  // namespace pendra2::device
