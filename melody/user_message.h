#pragma once
// What the user is to be told: a message box text and its caption, shown by the caller.

#include <string_view>

namespace pendra2::melody {

struct UserMessage {
  std::string_view text;
  std::string_view caption;
};

}  // namespace pendra2::melody
