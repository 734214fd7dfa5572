#include <gtest/gtest.h>

#include "virtual_board/board_options.h"

namespace pendra2::virtual_board {
namespace {

using Args = std::vector<std::string>;

TEST(BoardOptions, DefaultsAreAThirdGenerationBoardCalledPendra2) {
  const auto p = ParseBoardOptions(Args{});
  ASSERT_TRUE(p.options);
  const BoardOptions& o = *p.options;
  EXPECT_EQ(o.name + " " + o.identity.version, "pendra2 V3.00.00");
  EXPECT_EQ(o.identity.vendorId, 0x3289);
  EXPECT_EQ(o.identity.productId, 0x1001);
  EXPECT_FALSE(o.noReply || o.window);
}

TEST(BoardOptions, EveryOptionIsTaken) {
  const auto p = ParseBoardOptions(
      Args{"--name",     "b1",         "--vid",    "04d8",    "--pid",    "0x003F",  "--version",
           "V2.00.00",   "--status",   "NG",       "--date",  "20250101", "--build", "00099",
           "--input1",   "1",          "--input2", "258",     "--input3", "1023",    "--log",
           "/tmp/x.log", "--no-reply", "--window", "--trace", "/tmp/t",   "--mute"});
  ASSERT_TRUE(p.options) << p.error;
  const BoardOptions& o = *p.options;
  const BoardIdentity& id = o.identity;
  EXPECT_EQ(o.name + id.version + id.status + id.date + id.build + o.logPath,
            "b1V2.00.00NG2025010100099/tmp/x.log");
  EXPECT_EQ(id.vendorId, 0x04D8);
  EXPECT_EQ(id.productId, 0x003F);
  EXPECT_EQ(o.inputs, (std::array<uint16_t, 3>{1, 258, 1023}));
  EXPECT_TRUE(o.noReply && o.window && o.mute);
  EXPECT_EQ(o.tracePath, "/tmp/t");
}

TEST(BoardOptions, MistypedValuesAreRefusedWithAReason) {
  // Each line's words are split at '|'.
  for (const char* line : {"--vid|xyz", "--pid|10000", "--input1|1024", "--input2|-1",
                           "--input3|12a", "--version|V3.00.000", "--status|OKK", "--build|123456",
                           "--name|", "--name", "--frobnicate|1"}) {
    Args args;
    for (std::string rest = line;; rest.erase(0, rest.find('|') + 1)) {
      args.push_back(rest.substr(0, rest.find('|')));
      if (rest.find('|') == std::string::npos) break;
    }
    const auto p = ParseBoardOptions(args);
    EXPECT_FALSE(p.options) << line;
    EXPECT_FALSE(p.error.empty()) << line;
  }
}

TEST(BoardOptions, AnUnknownWordIsNamedAsSuch) {
  const struct {
    Args args;
    const char* error;
  } cases[] = {
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"--frobnicate", "1"}, "unknown option '--frobnicate'"},
      {{"--name", "b", "stray"}, "unexpected argument 'stray'"},
      {{"--log"}, "--log needs a value"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseBoardOptions(c.args).error, c.error);
}

}  // namespace
}  // namespace pendra2::virtual_board
