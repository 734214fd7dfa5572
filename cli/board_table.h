#pragma once
// The attached boards as the command line shows them: the `boards` table and its JSON, and
// the short list that a refused board choice prints so the user can choose.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "device/board_choice.h"
#include "device/board_info.h"

namespace pendra2::cli {

struct BoardRow {
  device::AttachedBoard board;
  std::optional<device::BoardInfo> info;  // what it answered to InfoQuery
  std::string trouble;                    // why it gave no answer; empty when it did
};

// Four upper-case hex digits, as vendor and product identifiers are written.
std::string Hex4(uint16_t value);

// One row per board under a heading: number, name, path, identifiers, version, generation,
// then what is wrong with it, if anything.
void WriteBoardTable(const std::vector<BoardRow>& rows, std::ostream& out);
// The same and the other HID devices as one JSON object.
void WriteBoardsJson(const std::vector<BoardRow>& rows,
                     const std::vector<device::InterfaceInfo>& others, std::ostream& out);
// "  1  NAME  PATH" for each board, indented under a message.
void WriteChoices(const std::vector<device::AttachedBoard>& boards, std::ostream& out);

}  // namespace pendra2::cli
