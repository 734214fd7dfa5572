#pragma once

namespace pendra2::device {

inline constexpr int kDefaultReplyTimeoutMs = 2000;

// The reply wait in milliseconds from PENDRA2_REPLY_TIMEOUT_MS, or the default when it is
// unset or not a whole number from 1 to 600000.
int ReplyTimeoutMs();
int ParseReplyTimeout(const char* text);
// Whether a PENDRA2_REPLY_TIMEOUT_MS text is one the wait takes (else the default is used).
bool ReplyTimeoutSettingValid(const char* text);

}  // namespace pendra2::device
