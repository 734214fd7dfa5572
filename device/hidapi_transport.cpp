#include "device/hidapi_transport.h"

#include <hidapi.h>
#if defined(__APPLE__)
#include <hidapi_darwin.h>
#endif

namespace pendra2::device {

HidapiTransport::HidapiTransport() {
  ready_ = hid_init() == 0;
#if defined(__APPLE__)
  // macOS opens HID devices exclusively by default; the launcher and an editor must be able
  // to hold the board at the same time, as they can elsewhere.
  if (ready_) hid_darwin_set_open_exclusive(0);
#endif
}

HidapiTransport::~HidapiTransport() {
  for (auto& [handle, device] : open_) hid_close(device);
  open_.clear();
  if (ready_) hid_exit();
}

InterfaceList HidapiTransport::Enumerate() {
  InterfaceList list;
  if (!ready_) return list;
  list.ok = true;
  // A null list is how hidapi says "no HID devices" as well.
  hid_device_info* all = hid_enumerate(0, 0);
  for (const hid_device_info* d = all; d != nullptr; d = d->next) {
    if (d->path == nullptr) continue;
    list.interfaces.push_back({d->path, d->vendor_id, d->product_id});
  }
  hid_free_enumeration(all);
  return list;
}

Handle HidapiTransport::Open(const std::string& path, Access) {
  // hidapi opens every interface for reading and writing; the board link still keeps a
  // write and a read channel of its own, so each is a separate open of the same path and
  // either can fail or be closed without the other.
  if (!ready_) return kNoHandle;
  hid_device* device = hid_open_path(path.c_str());
  if (device == nullptr) return kNoHandle;
  const Handle handle = next_++;
  open_[handle] = device;
  return handle;
}

bool HidapiTransport::Write(Handle handle, const Report& report) {
  const auto it = open_.find(handle);
  if (it == open_.end()) return false;
  return hid_write(it->second, report.data(), report.size()) > 0;
}

bool HidapiTransport::Read(Handle handle, Report& report, int timeoutMs) {
  const auto it = open_.find(handle);
  if (it == open_.end()) return false;
  // The board's 64 data bytes land behind the report number, where the protocol counts them.
  const int n = hid_read_timeout(it->second, report.data() + 1, kReportBytes - 1, timeoutMs);
  if (n <= 0) return false;
  report[0] = 0;
  return true;
}

void HidapiTransport::Close(Handle handle) {
  const auto it = open_.find(handle);
  if (it == open_.end()) return;
  hid_close(it->second);
  open_.erase(it);
}

}  // namespace pendra2::device
