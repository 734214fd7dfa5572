#include <gtest/gtest.h>

#include "virtual_board/board_model.h"

namespace pendra2::virtual_board {
namespace {

Report Request(uint8_t letter, uint8_t arg = 0) {
  Report r{};
  r[1] = letter;
  r[2] = arg;
  return r;
}

TEST(BoardModel, InfoReplyHasTheFieldsAtTheirOffsets) {
  BoardIdentity id;
  id.version = "V4.10.02";
  id.status = "NG";
  id.date = "20261130";
  id.build = "00042";
  BoardModel model(id);
  const auto reply = model.Receive(Request('C'));
  ASSERT_TRUE(reply);
  EXPECT_EQ(std::string(reply->begin() + 1, reply->begin() + 3), "NG");
  EXPECT_EQ(std::string(reply->begin() + 9, reply->begin() + 17), "V4.10.02");
  EXPECT_EQ((*reply)[10], '4');
  EXPECT_EQ(std::string(reply->begin() + 19, reply->begin() + 27), "20261130");
  EXPECT_EQ(std::string(reply->begin() + 29, reply->begin() + 34), "00042");
  EXPECT_EQ((*reply)[0], 0);
}

TEST(BoardModel, NoReplyToRunStopNoteOrUnknownLetters) {
  BoardModel model;
  EXPECT_FALSE(model.Receive(Request('R')));
  EXPECT_TRUE(model.running());
  EXPECT_FALSE(model.Receive(Request('E')));
  EXPECT_FALSE(model.running());
  EXPECT_FALSE(model.Receive(Request('P', 12)));
  EXPECT_EQ(model.note(), 12);
  EXPECT_FALSE(model.Receive(Request('P', 23)));
  EXPECT_EQ(model.note(), 23);
  EXPECT_FALSE(model.Receive(Request('Q')));
  EXPECT_EQ(model.log().size(), 5u);
}

TEST(BoardModel, BlocksAfterBeginAreImageDataWhateverTheirFirstByte) {
  BoardModel model;
  ASSERT_TRUE(model.Receive(Request('S')));
  EXPECT_EQ(model.blocksPending(), 8);
  device::Image sent{};
  for (int b = 0; b < 8; ++b) {
    Report block{};
    for (int i = 0; i < 64; ++i) {
      // Block 1 starts with 'C' and block 2 with 'S': still image bytes.
      block[1 + i] = static_cast<uint8_t>(b == 1 && i == 0   ? 'C'
                                          : b == 2 && i == 0 ? 'S'
                                                             : b * 64 + i);
      sent[static_cast<std::size_t>(b * 64 + i)] = block[1 + i];
    }
    ASSERT_TRUE(model.Receive(block));
    if (b < 7) {
      EXPECT_EQ(model.imagesWritten(), 0);
    }
  }
  EXPECT_EQ(model.blocksPending(), 0);
  EXPECT_EQ(model.image(), sent);
  EXPECT_EQ(model.imagesWritten(), 1);
  // Back to commands.
  EXPECT_TRUE(model.Receive(Request('C')));
}

TEST(BoardModel, InputsAutoModeAndTheLogLine) {
  BoardModel model;
  model.SetInput(2, 0x0304);
  const auto reading = model.Receive(Request('z'));
  ASSERT_TRUE(reading);
  EXPECT_EQ((*reading)[2], 0x04);
  EXPECT_EQ((*reading)[3], 0x03);
  EXPECT_EQ((*model.Receive(Request('T', 2)))[1], 0);
  model.Receive(Request('T', 1));
  EXPECT_EQ((*model.Receive(Request('T', 2)))[1], 1);
  model.Receive(Request('T', 7));  // not a setting: keeps it
  EXPECT_TRUE(model.autoMode());

  Report r{};
  r[1] = 'C';
  r[64] = 0xAB;
  const std::string line = HexLine(r);
  EXPECT_EQ(line.size(), 130u);
  EXPECT_EQ(line.substr(0, 4), "0043");
  EXPECT_EQ(line.substr(128), "ab");
}

}  // namespace
}  // namespace pendra2::virtual_board
