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

std::string Field(const Report& reply, std::size_t from, std::size_t size) {
  return std::string(reply.begin() + static_cast<std::ptrdiff_t>(from),
                     reply.begin() + static_cast<std::ptrdiff_t>(from + size));
}

TEST(BoardModel, InfoReplyHasThePaddedFieldsAtTheirOffsets) {
  BoardModel model(BoardIdentity{0, 0, "V4.10.02", "NG", "20261130", "00042"});
  auto reply = model.Receive(Request('C'));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[0], 0);
  EXPECT_EQ(Field(*reply, 1, 2) + "|" + Field(*reply, 9, 8) + "|" + Field(*reply, 19, 8) + "|" +
                Field(*reply, 29, 5),
            "NG|V4.10.02|20261130|00042");
  reply = BoardModel(BoardIdentity{0, 0, "V4", "OK", "", ""}).Receive(Request('C'));
  EXPECT_EQ(Field(*reply, 9, 8), "V4      ");
}

TEST(BoardModel, NoReplyToRunStopNoteOrUnknownLetters) {
  BoardModel model;
  EXPECT_FALSE(model.Receive(Request('R')));
  EXPECT_TRUE(model.running());
  EXPECT_FALSE(model.Receive(Request('E')));
  EXPECT_FALSE(model.running());
  EXPECT_FALSE(model.Receive(Request('P', 12)));
  EXPECT_EQ(model.note(), 12);
  EXPECT_FALSE(model.Receive(Request('Q')));
  EXPECT_EQ(model.log().size(), 4u);
}

// Image blocks and input readings are checked through the device's commands
// (tests/device), which drive this model.
TEST(BoardModel, AutoModeAndTheLogLine) {
  BoardModel model;
  EXPECT_EQ((*model.Receive(Request('T', 2)))[1], 0);
  model.Receive(Request('T', 1));
  model.Receive(Request('T', 7));  // not a setting: keeps it
  EXPECT_EQ((*model.Receive(Request('T', 2)))[1], 1);

  Report r = Request('C');
  r[64] = 0xAB;
  const std::string line = HexLine(r);
  EXPECT_EQ(line.size(), 130u);
  EXPECT_EQ(line.substr(0, 4), "0043");
  EXPECT_EQ(line.substr(128), "ab");
}

}  // namespace
}  // namespace pendra2::virtual_board
