#include "cli/terminal_text.h"

#include <cstdint>
#include <cstdio>

#include "ui_common/shift_jis.h"

namespace pendra2::cli {
namespace {

constexpr char kHex[] = "0123456789abcdef";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsLeadByte(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrailByte(uint8_t b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

void AppendHex(std::string& out, uint8_t b) {
  out += "\\x";
  out += kHex[b >> 4];
  out += kHex[b & 0xF];
}

}  // namespace

std::string DecodeStoredText(std::string_view sjis) {
  std::string out;
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const auto b = static_cast<uint8_t>(sjis[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
    } else if (b >= 0xA1 && b <= 0xDF) {
      out += ui::ShiftJisToUtf8(sjis.substr(i, 1));  // half-width katakana
    } else if (IsLeadByte(b) && i + 1 < sjis.size() &&
               IsTrailByte(static_cast<uint8_t>(sjis[i + 1]))) {
      out += ui::ShiftJisToUtf8(sjis.substr(i, 2));
      ++i;
    } else {
      out += kReplacement;
    }
  }
  return out;
}

std::string EscapeControls(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<uint8_t>(utf8[i]);
    if (b < 0x20 || b == 0x7F) {
      AppendHex(out, b);
    } else if (b == 0xC2 && i + 1 < utf8.size() && static_cast<uint8_t>(utf8[i + 1]) >= 0x80 &&
               static_cast<uint8_t>(utf8[i + 1]) <= 0x9F) {
      AppendHex(out, static_cast<uint8_t>(utf8[++i]));  // a C1 control, U+0080..U+009F
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

std::string HexBytes(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<uint8_t>(c);
    out += kHex[b >> 4];
    out += kHex[b & 0xF];
  }
  return out;
}

std::string JsonString(std::string_view utf8) {
  std::string s = "\"";
  for (const char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      s += '\\';
      s += c;
    } else if (b < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\u%04x", b);
      s += esc;
    } else {
      s += c;
    }
  }
  return s + "\"";
}

}  // namespace pendra2::cli
