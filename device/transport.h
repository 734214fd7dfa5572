#pragma once
// What the board link needs from the platform: list the HID interfaces, open one, write and
// read 65-byte reports, close. The real board (hidapi), the virtual board and the test fake
// each provide one.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/report.h"

namespace pendra2::device {

struct InterfaceInfo {
  std::string path;
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  // False for an interface that is there but did not answer when it was listed (a board
  // whose program is stuck): it cannot be opened until it answers again.
  bool responding = true;
  // What tells this board from its twins for as long as it stays plugged in: the serial
  // string the device reports (often none), and the port it sits in (the USB port path; for
  // a virtual board its server name). Empty when the platform does not say.
  std::string serial;
  std::string port;
};

// An open interface. Values are the transport's own; kNoHandle never names one.
using Handle = int64_t;
inline constexpr Handle kNoHandle = -1;

enum class Access { ReadWrite, Write, Read };

struct InterfaceList {
  bool ok = false;                        // false: the platform could not give the list at all
  std::vector<InterfaceInfo> interfaces;  // in the platform's order
};

class Transport {
 public:
  Transport() = default;
  virtual ~Transport() = default;
  Transport(const Transport&) = delete;
  Transport& operator=(const Transport&) = delete;
  virtual InterfaceList Enumerate() = 0;
  // False when the platform cannot list the interfaces at all (Enumerate would fail), known
  // at once, without looking at any of them. Safe from any thread.
  virtual bool ListAvailable() const { return true; }
  // kNoHandle when the interface cannot be opened with that access.
  virtual Handle Open(const std::string& path, Access access) = 0;
  // report[0] is the report number (0); all 65 bytes are sent.
  virtual bool Write(Handle handle, const Report& report) = 0;
  // Waits at most timeoutMs for one report; on success report[0] = 0 and the 64 data bytes
  // are in report[1..64]. On failure the report may be partly overwritten.
  virtual bool Read(Handle handle, Report& report, int timeoutMs) = 0;
  virtual void Close(Handle handle) = 0;
  // What the platform said of the last call that failed here (UTF-8), empty when it said
  // nothing: a read that only ran out of time, or a transport that keeps no text.
  virtual std::string LastErrorText() const { return {}; }
  // Whether other programs can reach the same interfaces, so that exchanges must take the
  // device's lock (board_lock.h). An in-process stand-in answers only its own process.
  virtual bool SharedBetweenPrograms() const { return true; }
  // Another transport over the same interfaces, with nothing open, for another thread: a
  // transport is used by one thread at a time. Null when this one cannot have a twin; whoever
  // wanted it then takes turns on this one.
  virtual std::unique_ptr<Transport> Sibling() const { return nullptr; }

  // From any thread: the waits under way on the transport's own thread, and every later one
  // until Resume(), end within a few tens of milliseconds as if their time had run out. So a
  // background look at the board can give way to what the user asked for, and a program can
  // end without sitting out a reply wait.
  void Interrupt() { interrupted_.store(true); }
  void Resume() { interrupted_.store(false); }
  bool interrupted() const { return interrupted_.load(); }

 protected:
  // Waits are taken in slices of this length, each followed by a look at interrupted().
  static constexpr int kWaitSliceMs = 20;

 private:
  std::atomic<bool> interrupted_{false};
};

}  // namespace pendra2::device
