#include <gtest/gtest.h>

#include "device/report.h"
#include "virtual_board/board_options.h"

namespace pendra2::virtual_board {
namespace {

using Args = std::vector<std::string>;

TEST(BoardOptions, DefaultsAreAThirdGenerationBoardCalledPendra2) {
  const auto p = ParseBoardOptions(Args{});
  ASSERT_TRUE(p.options);
  const BoardOptions& o = *p.options;
  EXPECT_EQ(o.name + " " + o.identity.version, "pendra2 V3.00.00");
  EXPECT_TRUE(device::IsBoard(o.identity.vendorId, o.identity.productId));
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
  const struct {
    Args args;
    const char* error;  // empty: any reason
  } cases[] = {
      {{"--vid", "xyz"}, "--vid takes a hexadecimal number up to FFFF, not 'xyz'"},
      {{"--pid", "10000"}, ""},
      {{"--input1", "1024"}, "--input1 takes a number from 0 to 1023, not '1024'"},
      {{"--input2", "-1"}, ""},
      {{"--input3", "12a"}, ""},
      {{"--version", "V3.00.000"}, "--version takes up to 8 ASCII characters"},
      {{"--status", "OKK"}, ""},
      {{"--build", "123456"}, ""},
      {{"--name", ""}, "--name needs a non-empty name"},
      {{"--log"}, "--log needs a value"},
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"--frobnicate", "1"}, "unknown option '--frobnicate'"},
      {{"--name", "b", "stray"}, "unexpected argument 'stray'"},
      {{"--count", "0"}, "--count takes a number from 1 to 100, not '0'"},
      {{"--count", "101"}, ""},
      {{"--unplug-after", "0"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0]);
    const auto p = ParseBoardOptions(c.args);
    EXPECT_FALSE(p.options);
    EXPECT_FALSE(p.error.empty());
    if (*c.error != '\0') {
      EXPECT_EQ(p.error, c.error);
    }
  }
}

TEST(BoardOptions, ACountServesNumberedBoardsEachWithFilesOfItsOwn) {
  const auto p =
      ParseBoardOptions(Args{"--name", "class", "--count", "3", "--log", "/tmp/logs/day.log",
                             "--trace", "/tmp/t", "--no-reply", "--unplug-after", "9"});
  ASSERT_TRUE(p.options) << p.error;
  const std::vector<BoardOptions> boards = EachBoard(*p.options);
  ASSERT_EQ(boards.size(), 3u);
  EXPECT_EQ(boards[0].name + " " + boards[0].logPath + " " + boards[0].tracePath,
            "class-1 /tmp/logs/day-1.log /tmp/t-1");
  EXPECT_EQ(boards[2].name + " " + boards[2].logPath, "class-3 /tmp/logs/day-3.log");
  for (const BoardOptions& b : boards) EXPECT_TRUE(b.noReply && b.unplugAfter == 9 && b.count == 1);
  // One board keeps its name and files as given.
  const auto one = EachBoard(*ParseBoardOptions(Args{"--log", "x.log"}).options);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].name + " " + one[0].logPath, "pendra2 x.log");
}

}  // namespace
}  // namespace pendra2::virtual_board
