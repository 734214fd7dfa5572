#include "device/reply_timeout.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace pendra2::device {

int ParseReplyTimeout(const char* text) {
  if (text == nullptr) return kDefaultReplyTimeoutMs;
  const char* end = text + std::strlen(text);
  int value = 0;
  const auto [ptr, ec] = std::from_chars(text, end, value);
  if (ec != std::errc{} || ptr != end || value < 1 || value > 600000) {
    return kDefaultReplyTimeoutMs;
  }
  return value;
}

int ReplyTimeoutMs() {
  return ParseReplyTimeout(std::getenv("PENDRA2_REPLY_TIMEOUT_MS"));
}

}  // namespace pendra2::device
