#include "virtual_board/board_options.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iterator>
#include <string_view>

#include "board_sim/behaviour.h"

namespace pendra2::virtual_board {
namespace {

std::optional<uint16_t> Number(const std::string& text, int base) {
  std::string_view digits = text;
  if (base == 16 && (digits.starts_with("0x") || digits.starts_with("0X"))) digits.remove_prefix(2);
  unsigned value = 0;
  const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || ec != std::errc{} || ptr != digits.data() + digits.size() ||
      value > 0xFFFF) {
    return std::nullopt;
  }
  return static_cast<uint16_t>(value);
}

// Reply fields are fixed-width printable ASCII; a shorter text is padded with spaces.
bool FixedText(const std::string& text, std::size_t width) {
  if (text.size() > width) return false;
  for (const char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

// class.log -> class-3.log; a name without an extension just gets the number.
std::string Numbered(const std::string& path, int number) {
  if (path.empty()) return path;
  const std::filesystem::path p(path);
  std::filesystem::path numbered =
      p.parent_path() / (p.stem().string() + "-" + std::to_string(number) + p.extension().string());
  return numbered.string();
}

}  // namespace

std::vector<BoardOptions> EachBoard(const BoardOptions& options) {
  if (options.count <= 1) return {options};
  std::vector<BoardOptions> boards;
  for (int n = 1; n <= options.count; ++n) {
    BoardOptions one = options;
    one.count = 1;
    one.name = options.name + "-" + std::to_string(n);
    one.logPath = Numbered(options.logPath, n);
    one.tracePath = Numbered(options.tracePath, n);
    boards.push_back(std::move(one));
  }
  return boards;
}

ParsedOptions ParseBoardOptions(std::span<const std::string> args) {
  BoardOptions o;
  const auto fail = [](std::string why) { return ParsedOptions{std::nullopt, std::move(why)}; };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--no-reply") {
      o.noReply = true;
      continue;
    }
    if (a == "--window") {
      o.window = true;
      continue;
    }
    if (a == "--mute") {
      o.mute = true;
      continue;
    }
    if (a == "--help" || a == "-h") {
      o.help = true;
      continue;
    }
    static constexpr std::string_view kWithValue[] = {
        "--name", "--vid",   "--pid",    "--version", "--date",   "--status", "--build",
        "--log",  "--trace", "--input1", "--input2",  "--input3", "--count",  "--unplug-after"};
    if (std::find(std::begin(kWithValue), std::end(kWithValue), a) == std::end(kWithValue)) {
      return fail(a.starts_with("-") ? "unknown option '" + a + "'"
                                     : "unexpected argument '" + a + "'");
    }
    if (i + 1 >= args.size()) return fail(a + " needs a value");
    const std::string& v = args[++i];
    if (a == "--name") {
      if (v.empty()) return fail("--name needs a non-empty name");
      o.name = v;
    } else if (a == "--vid" || a == "--pid") {
      const auto id = Number(v, 16);
      if (!id) return fail(a + " takes a hexadecimal number up to FFFF, not '" + v + "'");
      (a == "--vid" ? o.identity.vendorId : o.identity.productId) = *id;
    } else if (a == "--version" || a == "--date") {
      if (!FixedText(v, 8)) return fail(a + " takes up to 8 ASCII characters");
      (a == "--version" ? o.identity.version : o.identity.date) = v;
    } else if (a == "--status") {
      if (!FixedText(v, 2)) return fail("--status takes up to 2 ASCII characters");
      o.identity.status = v;
    } else if (a == "--build") {
      if (!FixedText(v, 5)) return fail("--build takes up to 5 ASCII characters");
      o.identity.build = v;
    } else if (a == "--input1" || a == "--input2" || a == "--input3") {
      const auto n = Number(v, 10);
      if (!n || *n > board_sim::behaviour::kInputMax) {
        return fail(a + " takes a number from 0 to " +
                    std::to_string(board_sim::behaviour::kInputMax) + ", not '" + v + "'");
      }
      o.inputs[static_cast<std::size_t>(a.back() - '1')] = *n;
    } else if (a == "--count" || a == "--unplug-after") {
      const auto n = Number(v, 10);
      const int most = a == "--count" ? kMaxBoards : 0xFFFF;
      if (!n || *n < 1 || *n > most) {
        return fail(a + " takes a number from 1 to " + std::to_string(most) + ", not '" + v + "'");
      }
      (a == "--count" ? o.count : o.unplugAfter) = *n;
    } else if (a == "--trace") {
      o.tracePath = v;
    } else {
      o.logPath = v;  // --log
    }
  }
  return ParsedOptions{o, {}};
}

}  // namespace pendra2::virtual_board
