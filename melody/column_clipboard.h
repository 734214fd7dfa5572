#pragma once
// The clipboard as the score's cut, copy and paste see it: the program's own bytes for the
// columns, and a text for other programs. The editor gives the system's clipboard behind
// this; tests give one of their own.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace pendra2::melody {

class ColumnClipboard {
 public:
  virtual ~ColumnClipboard() = default;
  // Replaces what the clipboard holds with the columns' bytes and their text.
  virtual void Put(std::span<const uint8_t> columns, std::string_view text) = 0;
  // Whether it holds columns (of any version) at all: the paste command's enabled state.
  virtual bool HoldsColumns() const = 0;
  // The columns' bytes, or nothing when it holds none.
  virtual std::optional<std::vector<uint8_t>> Columns() const = 0;
};

}  // namespace pendra2::melody
