#pragma once
// How pendra2-virtual-board and VirtualTransport talk over a local socket. Each connection
// is one open interface; frames are a tag byte followed by a fixed-size body.
//
//   client -> board  'I'               who are you?         board -> 'I' vid(LE16) pid(LE16)
//   client -> board  'O' access        this connection reads, writes or both; board -> 'O'
//                                      once it will deliver replies to it
//   client -> board  'W' report[65]    one request report
//   board -> client  'R' report[65]    one reply, sent to every connection that reads,
//                                      as a HID device delivers input reports to every reader

#include <cstddef>
#include <cstdint>

#include "device/report.h"

namespace pendra2::device::wire {

inline constexpr uint8_t kIdentify = 'I';
inline constexpr uint8_t kOpen = 'O';
inline constexpr uint8_t kWrite = 'W';
inline constexpr uint8_t kReply = 'R';

inline constexpr std::size_t kIdentityFrame = 5;
inline constexpr std::size_t kOpenFrame = 2;
inline constexpr std::size_t kReportFrame = 1 + kReportBytes;

inline constexpr uint8_t kAccessReadWrite = 0;
inline constexpr uint8_t kAccessWrite = 1;
inline constexpr uint8_t kAccessRead = 2;

}  // namespace pendra2::device::wire
