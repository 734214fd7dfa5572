#pragma once
// Text from files on its way to a terminal or into JSON: stored Shift JIS decoded so that
// no byte changes its meaning, and control characters shown rather than obeyed.

#include <string>
#include <string_view>

namespace pendra2::cli {

// Shift JIS bytes as UTF-8. Bytes below 0x80 stay exactly as they are (the code page's own
// tables would turn 0x1A and 0x7F into other characters); a byte that starts no character
// becomes U+FFFD.
std::string DecodeStoredText(std::string_view sjis);

// UTF-8 with its control characters (C0, DEL, C1) written as \xHH, so a file name cannot
// break a line or send escape sequences to the terminal.
std::string EscapeControls(std::string_view utf8);

// The bytes as two lower-case hex digits each.
std::string HexBytes(std::string_view bytes);

// A JSON string of UTF-8 text: quotes, backslashes and control characters escaped.
std::string JsonString(std::string_view utf8);

}  // namespace pendra2::cli
