#include <gtest/gtest.h>

#include "virtual_board/board_options.h"

namespace pendra2::virtual_board {
namespace {

using Args = std::vector<std::string>;

TEST(BoardOptions, DefaultsAreAThirdGenerationBoardCalledPendra2) {
  const auto p = ParseBoardOptions(Args{});
  ASSERT_TRUE(p.options);
  EXPECT_EQ(p.options->name, "pendra2");
  EXPECT_EQ(p.options->identity.version, "V3.00.00");
  EXPECT_EQ(p.options->identity.vendorId, 0x3289);
  EXPECT_EQ(p.options->identity.productId, 0x1001);
  EXPECT_FALSE(p.options->noReply || p.options->window);
}

TEST(BoardOptions, EveryOptionIsTaken) {
  const auto p = ParseBoardOptions(
      Args{"--name",    "b1",       "--vid",    "04d8",       "--pid",      "0x003F",
           "--version", "V2.00.00", "--status", "NG",         "--date",     "20250101",
           "--build",   "00099",    "--input1", "1",          "--input2",   "258",
           "--input3",  "65535",    "--log",    "/tmp/x.log", "--no-reply", "--window"});
  ASSERT_TRUE(p.options) << p.error;
  const BoardOptions& o = *p.options;
  EXPECT_EQ(o.name, "b1");
  EXPECT_EQ(o.identity.vendorId, 0x04D8);
  EXPECT_EQ(o.identity.productId, 0x003F);
  EXPECT_EQ(o.identity.version + o.identity.status + o.identity.date + o.identity.build,
            "V2.00.00NG2025010100099");
  EXPECT_EQ(o.inputs, (std::array<uint16_t, 3>{1, 258, 65535}));
  EXPECT_EQ(o.logPath, "/tmp/x.log");
  EXPECT_TRUE(o.noReply && o.window);
}

TEST(BoardOptions, MistypedValuesAreRefusedWithAReason) {
  for (const Args& bad : std::vector<Args>{{"--vid", "xyz"},
                                           {"--pid", "10000"},
                                           {"--input1", "65536"},
                                           {"--input2", "-1"},
                                           {"--input3", "12a"},
                                           {"--version", "V3.00.000"},
                                           {"--status", "OKK"},
                                           {"--build", "123456"},
                                           {"--name", ""},
                                           {"--name"},
                                           {"--frobnicate", "1"}}) {
    const auto p = ParseBoardOptions(bad);
    EXPECT_FALSE(p.options) << bad[0];
    EXPECT_FALSE(p.error.empty()) << bad[0];
  }
}

}  // namespace
}  // namespace pendra2::virtual_board
