#include "device/reply_timeout.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace pendra2::device {

namespace {

std::optional<int> Milliseconds(const char* text) {
  if (text == nullptr) return std::nullopt;
  const char* end = text + std::strlen(text);
  int value = 0;
  const auto [ptr, ec] = std::from_chars(text, end, value);
  if (ec != std::errc{} || ptr != end || value < 1 || value > 600000) return std::nullopt;
  return value;
}

}  // namespace

int ParseReplyTimeout(const char* text) {
  return Milliseconds(text).value_or(kDefaultReplyTimeoutMs);
}

bool ReplyTimeoutSettingValid(const char* text) {
  return Milliseconds(text).has_value();
}

int ReplyTimeoutMs() {
  return ParseReplyTimeout(std::getenv("PENDRA2_REPLY_TIMEOUT_MS"));
}

}  // namespace pendra2::device
