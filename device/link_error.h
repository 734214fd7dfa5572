#pragma once
// Why a board exchange failed: the board link's one failure shape. It keeps the platform's
// own words (hidapi's error text) where the platform gave any, so that a message or a log
// can say what happened instead of only that something did.

#include <cstdint>
#include <string>

namespace pendra2::device {

enum class LinkFailure : uint8_t {
  kNone,
  kNoBoard,      // no board was found, or its channels would not open
  kWriteFailed,  // the request did not go out
  kNoAnswer,     // no reply came within the reply wait
  kReadFailed,   // the read channel broke (a board unplugged while it answered)
  kBusy,         // another program of the suite kept the board for too long
};

struct LinkError {
  LinkFailure reason = LinkFailure::kNone;
  std::string detail;  // the platform's text; empty when it said nothing

  bool ok() const { return reason == LinkFailure::kNone; }
};

// One English line for logs and the command line: what failed, then the platform's text.
std::string Describe(const LinkError& error);

}  // namespace pendra2::device
