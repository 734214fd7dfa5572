#pragma once
// The one number parser of the command line: a whole decimal number within a range, the
// whole argument and nothing else.

#include <charconv>
#include <optional>
#include <string_view>

namespace pendra2::cli {

template <typename T>
std::optional<T> ParseNumber(std::string_view text, T low, T high) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc{} || ptr != end || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

}  // namespace pendra2::cli
