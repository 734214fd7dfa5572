#include "device/hidapi_transport.h"

#include <hidapi.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <system_error>
#if defined(__APPLE__)
#include <hidapi_darwin.h>
#endif

namespace pendra2::device {
namespace {

// hidapi speaks wchar_t: UTF-32 on Linux and macOS, UTF-16 on Windows.
std::string Utf8(const wchar_t* text) {
  std::string out;
  if (text == nullptr) return out;
  for (const wchar_t* p = text; *p != 0; ++p) {
    // A code unit, never negative in a valid text.
    auto c = static_cast<uint32_t>(*p);  // NOLINT(bugprone-signed-char-misuse)
    if constexpr (sizeof(wchar_t) == 2) {
      if (c >= 0xD800 && c < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(p[1]) - 0xDC00);
        ++p;
      }
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// The USB port a hidraw node sits in ("3-1.2": bus 3, hub port 1, port 2), which stays the
// same while the board is plugged in there and tells two boards of one kind apart when they
// have no serial string. Empty where the system does not say.
std::string UsbPort([[maybe_unused]] const char* path) {
#if defined(__linux__)
  namespace fs = std::filesystem;
  const fs::path node(path);
  if (node.parent_path() != "/dev") return {};
  std::error_code error;
  // .../3-1.2/3-1.2:1.0/0003:3289:1001.0005: the interface's parent is the USB device.
  const fs::path device =
      fs::canonical(fs::path("/sys/class/hidraw") / node.filename() / "device", error);
  if (error) return {};
  std::string port = device.parent_path().parent_path().filename().string();
  const bool looksLikePort = !port.empty() && port.find('-') != std::string::npos &&
                             port.find_first_not_of("0123456789-.") == std::string::npos;
  return looksLikePort ? port : std::string();
#else
  return {};
#endif
}

}  // namespace

// hidapi is set up once for every twin, and the calls that keep their error text in the
// library's one global place (listing, opening) are taken one at a time.
struct HidapiTransport::Library {
  Library() {
    ready = hid_init() == 0;
#if defined(__APPLE__)
    // macOS opens HID devices exclusively by default; the launcher and an editor must be
    // able to hold the board at the same time, as they can elsewhere.
    if (ready) hid_darwin_set_open_exclusive(0);
#endif
  }
  ~Library() {
    if (ready) hid_exit();
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool ready = false;
  std::mutex globalCalls;
};

bool HidapiTransport::Failed(hid_device* device) {
  lastError_ = Utf8(hid_error(device));
  if (lastError_.empty()) lastError_ = "hidapi gave no reason";
  return false;
}

HidapiTransport::HidapiTransport() : HidapiTransport(std::make_shared<Library>()) {}

HidapiTransport::HidapiTransport(std::shared_ptr<Library> library)
    : library_(std::move(library)), ready_(library_->ready) {}

HidapiTransport::~HidapiTransport() {
  for (auto& [handle, device] : open_) hid_close(device);
  open_.clear();
}

std::unique_ptr<Transport> HidapiTransport::Sibling() const {
  return std::make_unique<HidapiTransport>(library_);
}

InterfaceList HidapiTransport::Enumerate() {
  InterfaceList list;
  if (!ready_) return list;
  list.ok = true;
  const std::lock_guard global(library_->globalCalls);
  // A null list is how hidapi says "no HID devices" as well.
  hid_device_info* all = hid_enumerate(0, 0);
  for (const hid_device_info* d = all; d != nullptr; d = d->next) {
    if (d->path == nullptr) continue;
    list.interfaces.push_back(
        {d->path, d->vendor_id, d->product_id, true, Utf8(d->serial_number), UsbPort(d->path)});
  }
  hid_free_enumeration(all);
  return list;
}

Handle HidapiTransport::Open(const std::string& path, Access) {
  // hidapi opens every interface for reading and writing; the board link still keeps a
  // write and a read channel of its own, so each is a separate open of the same path and
  // either can fail or be closed without the other.
  if (!ready_) {
    lastError_ = "hidapi could not be initialised";
    return kNoHandle;
  }
  const std::lock_guard global(library_->globalCalls);
  hid_device* device = hid_open_path(path.c_str());
  if (device == nullptr) {
    Failed(nullptr);
    return kNoHandle;
  }
  const Handle handle = next_++;
  open_[handle] = device;
  return handle;
}

bool HidapiTransport::Write(Handle handle, const Report& report) {
  const auto it = open_.find(handle);
  if (it == open_.end()) {
    lastError_ = "the board's channel is not open";
    return false;
  }
  if (hid_write(it->second, report.data(), report.size()) > 0) return true;
  return Failed(it->second);
}

bool HidapiTransport::Read(Handle handle, Report& report, int timeoutMs) {
  const auto it = open_.find(handle);
  if (it == open_.end()) {
    lastError_ = "the board's channel is not open";
    return false;
  }
  // The board's 64 data bytes land behind the report number, where the protocol counts them.
  // Read in slices, so that an interruption is noticed while the board keeps us waiting.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  int n = 0;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    const int slice = static_cast<int>(std::clamp<long long>(left, 0, kWaitSliceMs));
    n = hid_read_timeout(it->second, report.data() + 1, kReportBytes - 1, slice);
    if (n != 0 || left <= slice || interrupted()) break;
  }
  if (n < 0) return Failed(it->second);
  if (n == 0) {
    lastError_.clear();  // only the time ran out
    return false;
  }
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
