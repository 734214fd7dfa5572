#include "device/virtual_transport.h"

#include <QDeadlineTimer>
#include <QLocalSocket>

#include "device/virtual_wire.h"

namespace pendra2::device {
namespace {

// A served board answers at once; this only bounds a board process that is stuck.
constexpr int kConnectMs = 1000;

bool SendAll(QLocalSocket& socket, const char* data, qint64 size) {
  if (socket.state() != QLocalSocket::ConnectedState) return false;
  if (socket.write(data, size) != size) return false;
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(kConnectMs)) return false;
  }
  return true;
}

}  // namespace

// Looks at the socket at least once, so a zero wait still picks up what has already arrived.
bool VirtualTransport::Await(QLocalSocket& socket, int64_t size, int timeoutMs) const {
  const QDeadlineTimer deadline(timeoutMs);
  for (;;) {
    if (socket.bytesAvailable() >= size) return true;
    if (socket.state() != QLocalSocket::ConnectedState) return false;
    const bool expired = deadline.hasExpired() || interrupted();
    const auto left = expired ? 0 : std::min<qint64>(deadline.remainingTime(), kWaitSliceMs);
    socket.waitForReadyRead(static_cast<int>(left));
    if (expired) return socket.bytesAvailable() >= size;
  }
}

VirtualTransport::VirtualTransport(std::vector<std::string> names) : names_(std::move(names)) {}

bool VirtualTransport::Failed(const QLocalSocket& socket) {
  lastError_ = socket.state() == QLocalSocket::ConnectedState
                   ? socket.errorString().toStdString()
                   : "the virtual board closed the connection";
  return false;
}

VirtualTransport::~VirtualTransport() = default;

std::unique_ptr<Transport> VirtualTransport::Sibling() const {
  auto twin = std::make_unique<VirtualTransport>(names_);
  twin->identities_ = identities_;
  return twin;
}

std::vector<std::string> VirtualTransport::ParseNames(const std::string& list) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    std::string name = list.substr(start, comma - start);
    if (!name.empty()) names.push_back(std::move(name));
    start = comma + 1;
  }
  return names;
}

std::unique_ptr<QLocalSocket> VirtualTransport::Connect(const std::string& name) const {
  auto socket = std::make_unique<QLocalSocket>();
  socket->connectToServer(QString::fromStdString(name));
  if (!socket->waitForConnected(kConnectMs)) return nullptr;
  return socket;
}

InterfaceList VirtualTransport::Enumerate() {
  InterfaceList list;
  list.ok = true;
  for (const std::string& name : names_) {
    auto socket = Connect(name);
    if (!socket) continue;  // nobody serves the name: not plugged in
    const char ask = static_cast<char>(wire::kIdentify);
    if (!SendAll(*socket, &ask, 1)) continue;
    if (!Await(*socket, wire::kIdentityFrame, kConnectMs)) {
      // The board took the connection but says nothing: its process is stuck. It is still
      // there, as a hung board stays on the bus, under the identity it last gave.
      const auto known = identities_.find(name);
      const auto [vendor, product] =
          known != identities_.end() ? known->second : std::pair(kPendraVendor, kPendraProduct);
      list.interfaces.push_back({name, vendor, product, false, {}, name});
      continue;
    }
    const QByteArray id = socket->read(wire::kIdentityFrame);
    if (static_cast<uint8_t>(id[0]) != wire::kIdentify) continue;
    const auto byte = [&](int i) { return static_cast<uint16_t>(static_cast<uint8_t>(id[i])); };
    const auto vendor = static_cast<uint16_t>(byte(1) | byte(2) << 8);
    const auto product = static_cast<uint16_t>(byte(3) | byte(4) << 8);
    identities_[name] = {vendor, product};
    list.interfaces.push_back({name, vendor, product, true, {}, name});
  }
  return list;
}

Handle VirtualTransport::Open(const std::string& path, Access access) {
  auto socket = Connect(path);
  if (!socket) {
    lastError_ = "no virtual board is served under the name " + path;
    return kNoHandle;
  }
  const uint8_t mode = access == Access::Write  ? wire::kAccessWrite
                       : access == Access::Read ? wire::kAccessRead
                                                : wire::kAccessReadWrite;
  const char frame[wire::kOpenFrame] = {static_cast<char>(wire::kOpen), static_cast<char>(mode)};
  if (!SendAll(*socket, frame, sizeof frame)) {
    Failed(*socket);
    return kNoHandle;
  }
  // Replies go only to connections the board has registered as readers; waiting for the
  // acknowledgement keeps a request on the write channel from overtaking the registration.
  if (!Await(*socket, 1, kConnectMs) || static_cast<uint8_t>(socket->read(1)[0]) != wire::kOpen) {
    lastError_ = "the virtual board did not take the connection";
    return kNoHandle;
  }
  const Handle handle = next_++;
  open_[handle] = std::move(socket);
  return handle;
}

bool VirtualTransport::Write(Handle handle, const Report& report) {
  const auto it = open_.find(handle);
  if (it == open_.end()) {
    lastError_ = "the board's channel is not open";
    return false;
  }
  char frame[wire::kReportFrame];
  frame[0] = static_cast<char>(wire::kWrite);
  for (std::size_t i = 0; i < kReportBytes; ++i) frame[1 + i] = static_cast<char>(report[i]);
  return SendAll(*it->second, frame, sizeof frame) || Failed(*it->second);
}

bool VirtualTransport::Read(Handle handle, Report& report, int timeoutMs) {
  const auto it = open_.find(handle);
  if (it == open_.end()) {
    lastError_ = "the board's channel is not open";
    return false;
  }
  QLocalSocket& socket = *it->second;
  if (!Await(socket, wire::kReportFrame, timeoutMs)) {
    if (socket.state() != QLocalSocket::ConnectedState) return Failed(socket);
    lastError_.clear();  // only the time ran out
    return false;
  }
  const QByteArray frame = socket.read(wire::kReportFrame);
  if (static_cast<uint8_t>(frame[0]) != wire::kReply) {
    lastError_ = "the virtual board sent something other than a reply";
    return false;
  }
  for (std::size_t i = 0; i < kReportBytes; ++i) {
    report[i] = static_cast<uint8_t>(frame[static_cast<qsizetype>(i) + 1]);
  }
  report[0] = 0;
  return true;
}

void VirtualTransport::Close(Handle handle) {
  const auto it = open_.find(handle);
  if (it == open_.end()) return;
  it->second->disconnectFromServer();
  open_.erase(it);
}

}  // namespace pendra2::device
