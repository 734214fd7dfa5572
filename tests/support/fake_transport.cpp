#include "support/fake_transport.h"

#include <algorithm>
#include <stdexcept>

namespace pendra2::test {

std::shared_ptr<virtual_board::BoardModel> FakeTransport::AddBoard(
    const std::string& path, uint16_t vendorId, uint16_t productId,
    virtual_board::BoardIdentity identity) {
  const std::lock_guard lock(mutex_);
  identity.vendorId = vendorId;
  identity.productId = productId;
  auto model = std::make_shared<virtual_board::BoardModel>(std::move(identity));
  interfaces_.push_back(FakeInterface{path, vendorId, productId, true, true, model});
  return model;
}

FakeInterface& FakeTransport::interface(const std::string& path) {
  const std::lock_guard lock(mutex_);
  for (auto& i : interfaces_) {
    if (i.path == path) return i;
  }
  throw std::out_of_range("no fake interface " + path);
}

void FakeTransport::Unplug(const std::string& path) {
  const std::lock_guard lock(mutex_);
  std::erase_if(interfaces_, [&](const FakeInterface& i) { return i.path == path; });
  for (auto& [handle, h] : open_) {
    if (h.path == path) h.unplugged = true;
  }
}

const FakeTransport::OpenHandle* FakeTransport::Usable(device::Handle handle,
                                                       device::Access unusable) const {
  const auto h = open_.find(handle);
  if (h == open_.end() || h->second.unplugged || h->second.access == unusable) return nullptr;
  return &h->second;
}

device::InterfaceList FakeTransport::Enumerate() {
  const std::lock_guard lock(mutex_);
  calls_.push_back(FakeCall{FakeCall::Enumerate, {}, {}, {}, 0, !listUnavailable});
  device::InterfaceList list;
  if (listUnavailable) return list;
  list.ok = true;
  for (const auto& i : interfaces_) {
    list.interfaces.push_back({i.path, i.vendorId, i.productId, true, i.serial, i.port});
  }
  return list;
}

device::Handle FakeTransport::Open(const std::string& path, device::Access access) {
  const std::lock_guard lock(mutex_);
  const auto it = std::find_if(interfaces_.begin(), interfaces_.end(),
                               [&](const FakeInterface& i) { return i.path == path; });
  const bool ok = it != interfaces_.end() && it->openable &&
                  (access != device::Access::Write || it->writeOpenable);
  const device::Handle handle = ok ? next_++ : device::kNoHandle;
  if (ok) open_[handle] = OpenHandle{path, access};
  calls_.push_back(FakeCall{FakeCall::Open, path, access, {}, 0, ok});
  return handle;
}

bool FakeTransport::Write(device::Handle handle, const device::Report& report) {
  const std::lock_guard lock(mutex_);
  const OpenHandle* h = Usable(handle, device::Access::Read);
  calls_.push_back(FakeCall{FakeCall::Write, h ? h->path : "", {}, report, 0, h != nullptr});
  if (h == nullptr) {
    lastError_ = kUnpluggedText;
    return false;
  }
  if (const auto& board = interface(h->path).board) {
    if (auto reply = board->Receive(report); reply && !silent) pending_[h->path].push_back(*reply);
  }
  return true;
}

bool FakeTransport::Read(device::Handle handle, device::Report& report, int timeoutMs) {
  const std::lock_guard lock(mutex_);
  const OpenHandle* h = Usable(handle, device::Access::Write);
  auto* queue = h ? &pending_[h->path] : nullptr;
  bool ok = queue != nullptr && !queue->empty();  // nothing to read: the wait runs out
  if (ok && lateReads > 0) {
    --lateReads;
    ok = false;
  }
  if (ok) {
    report = queue->front();
    report[0] = 0;
    queue->erase(queue->begin());
  }
  calls_.push_back(FakeCall{FakeCall::Read, h ? h->path : "", {}, report, timeoutMs, ok});
  lastError_ = h == nullptr ? kUnpluggedText : "";
  return ok;
}

void FakeTransport::Close(device::Handle handle) {
  const std::lock_guard lock(mutex_);
  const auto h = open_.find(handle);
  const bool ok = h != open_.end();
  calls_.push_back(FakeCall{FakeCall::Close, ok ? h->second.path : "", {}, {}, 0, ok});
  if (ok) open_.erase(h);
}

int FakeTransport::CountCalls(FakeCall::Kind kind) const {
  const std::lock_guard lock(mutex_);
  return static_cast<int>(std::count_if(calls_.begin(), calls_.end(),
                                        [&](const FakeCall& c) { return c.kind == kind; }));
}

std::vector<device::Report> FakeTransport::Writes() const {
  const std::lock_guard lock(mutex_);
  std::vector<device::Report> out;
  for (const auto& c : calls_) {
    if (c.kind == FakeCall::Write && c.ok) out.push_back(c.report);
  }
  return out;
}

}  // namespace pendra2::test
