#pragma once
// The system clipboard for the score's columns: the program's own MIME type beside plain
// text, so another Chimecraft takes the columns and any other program the text.

#include "melody/column_clipboard.h"

namespace pendra2::melody_ui {

class QtColumnClipboard final : public melody::ColumnClipboard {
 public:
  void Put(std::span<const uint8_t> columns, std::string_view text) override;
  bool HoldsColumns() const override;
  std::optional<std::vector<uint8_t>> Columns() const override;
};

}  // namespace pendra2::melody_ui
