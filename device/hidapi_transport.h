#pragma once
// The real board through hidapi (hidraw on Linux; the same calls on Windows and macOS).

#include <map>
#include <memory>
#include <string>

#include "device/transport.h"

struct hid_device_;

namespace pendra2::device {

class HidapiTransport : public Transport {
  struct Library;

 public:
  HidapiTransport();
  // A twin sharing `library` (Sibling).
  explicit HidapiTransport(std::shared_ptr<Library> library);
  ~HidapiTransport() override;
  HidapiTransport(const HidapiTransport&) = delete;
  HidapiTransport& operator=(const HidapiTransport&) = delete;

  InterfaceList Enumerate() override;
  bool ListAvailable() const override { return ready_; }
  Handle Open(const std::string& path, Access access) override;
  bool Write(Handle handle, const Report& report) override;
  bool Read(Handle handle, Report& report, int timeoutMs) override;
  void Close(Handle handle) override;
  std::string LastErrorText() const override { return lastError_; }
  // Each board is a device of its own to hidapi, so twins on other threads can talk to
  // different boards at the same time; they share the library's set-up.
  std::unique_ptr<Transport> Sibling() const override;

 private:
  // Keeps hidapi's own text for the call that just failed (device may be null: an open).
  bool Failed(hid_device_* device);

  std::shared_ptr<Library> library_;
  bool ready_ = false;
  std::string lastError_;
  Handle next_ = 1;
  std::map<Handle, hid_device_*> open_;
};

}  // namespace pendra2::device
