#pragma once
// Shift JIS (CP932) only lives where a file format stores text: tune paths inside .flc steps.
// Everything else in the suite is UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace pendra2::ui {

// Undecodable bytes (a name cut inside a double-byte character, damaged files) become
// U+FFFD rather than failing.
std::string ShiftJisToUtf8(std::string_view sjis);

// Empty optional when some character has no Shift JIS form.
std::optional<std::string> Utf8ToShiftJis(std::string_view utf8);

}  // namespace pendra2::ui
