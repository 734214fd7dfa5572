#include "cli/board_table.h"

#include <algorithm>
#include <array>

#include "cli/terminal_text.h"

namespace pendra2::cli {
namespace {

// Names and paths come from the devices themselves: shown, never obeyed.
std::string Shown(const std::string& text) {
  return EscapeControls(text);
}

std::string Padded(const std::string& text, std::size_t width) {
  return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string Generation(const device::BoardInfo& info) {
  return info.generation >= 0x20 && info.generation < 0x7F
             ? std::string(1, static_cast<char>(info.generation))
             : "?";
}

}  // namespace

std::string Hex4(uint16_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s(4, '0');
  for (int i = 3; i >= 0; --i, value >>= 4) s[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
  return s;
}

void WriteBoardTable(const std::vector<BoardRow>& rows, std::ostream& out) {
  using Cells = std::array<std::string, 6>;
  std::vector<Cells> table{{"#", "NAME", "PATH", "VID:PID", "VERSION", "GEN"}};
  for (const BoardRow& r : rows) {
    const device::InterfaceInfo& i = r.board.interface;
    table.push_back({std::to_string(r.board.number), Shown(r.board.name), Shown(i.path),
                     Hex4(i.vendorId) + ":" + Hex4(i.productId),
                     r.info ? Shown(r.info->version) : "-", r.info ? Generation(*r.info) : "-"});
  }
  std::array<std::size_t, 6> widths{};
  for (const Cells& cells : table) {
    for (std::size_t c = 0; c < cells.size(); ++c) widths[c] = std::max(widths[c], cells[c].size());
  }
  for (std::size_t row = 0; row < table.size(); ++row) {
    std::string line;
    for (std::size_t c = 0; c < widths.size(); ++c) {
      line += (c == 0 ? std::string(widths[0] - table[row][0].size(), ' ') + table[row][0]
                      : Padded(table[row][c], widths[c]));
      if (c + 1 < widths.size()) line += "  ";
    }
    if (row > 0 && !rows[row - 1].trouble.empty()) line += "  " + rows[row - 1].trouble;
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << "\n";
  }
}

void WriteBoardsJson(const std::vector<BoardRow>& rows,
                     const std::vector<device::InterfaceInfo>& others, std::ostream& out) {
  out << "{\n  \"boards\": [";
  for (std::size_t n = 0; n < rows.size(); ++n) {
    const BoardRow& r = rows[n];
    const device::InterfaceInfo& i = r.board.interface;
    out << (n == 0 ? "\n" : ",\n") << "    {\"number\": " << r.board.number
        << ", \"name\": " << JsonString(r.board.name) << ", \"path\": " << JsonString(i.path)
        << ", \"serial\": " << JsonString(i.serial) << ", \"port\": " << JsonString(i.port)
        << ", \"vendorId\": \"" << Hex4(i.vendorId) << "\", \"productId\": \"" << Hex4(i.productId)
        << "\", \"answering\": " << (r.info ? "true" : "false");
    if (r.info) {
      out << ", \"version\": " << JsonString(r.info->version)
          << ", \"generation\": " << JsonString(Generation(*r.info))
          << ", \"testStatus\": " << JsonString(r.info->testStatus)
          << ", \"releaseDate\": " << JsonString(r.info->releaseDate)
          << ", \"build\": " << JsonString(r.info->buildNumber);
    } else {
      out << ", \"version\": null, \"generation\": null, \"trouble\": " << JsonString(r.trouble);
    }
    out << "}";
  }
  out << (rows.empty() ? "]" : "\n  ]") << ",\n  \"otherDevices\": [";
  for (std::size_t n = 0; n < others.size(); ++n) {
    const device::InterfaceInfo& i = others[n];
    out << (n == 0 ? "\n" : ",\n") << "    {\"path\": " << JsonString(i.path)
        << ", \"vendorId\": \"" << Hex4(i.vendorId) << "\", \"productId\": \"" << Hex4(i.productId)
        << "\"}";
  }
  out << (others.empty() ? "]" : "\n  ]") << "\n}\n";
}

void WriteChoices(const std::vector<device::AttachedBoard>& boards, std::ostream& out) {
  std::size_t width = 0;
  for (const auto& b : boards) width = std::max(width, Shown(b.name).size());
  for (const auto& b : boards) {
    out << "  " << b.number << "  " << Padded(Shown(b.name), width) << "  "
        << Shown(b.interface.path) << "\n";
  }
}

}  // namespace pendra2::cli
