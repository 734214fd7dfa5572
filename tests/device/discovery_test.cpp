#include <gtest/gtest.h>

#include "device/board.h"
#include "support/fake_transport.h"

namespace pendra2::device {
namespace {

using test::FakeCall;
using test::FakeTransport;

TEST(FindBoard, FirstOpenableListedBoardWinsAndTheOtherIsNeverOpened) {
  FakeTransport fake;
  fake.AddInterface({"/dev/hidraw0", 0x046D, 0xC52B, true, true, nullptr});
  fake.AddBoard("held");
  fake.interface("held").openable = false;  // held exclusively elsewhere: skipped
  fake.AddBoard("/dev/hidraw1", kMicrochipVendor, kMicrochipProduct);
  fake.AddBoard("/dev/hidraw2");
  Board board(fake, 50);
  EXPECT_EQ(board.FindBoard(), kBoardFound);
  EXPECT_EQ(board.link().found, 1);
  EXPECT_EQ(board.link().devicePath, "/dev/hidraw1");
  // Probe (read+write, closed again), then the write channel, then the read channel.
  std::vector<std::pair<std::string, Access>> opens;
  for (const auto& c : fake.calls()) {
    if (c.kind == FakeCall::Open) opens.emplace_back(c.path, c.access);
  }
  const std::string b = "/dev/hidraw1";
  EXPECT_EQ(opens, (decltype(opens){{"held", Access::ReadWrite},
                                    {b, Access::ReadWrite},
                                    {b, Access::Write},
                                    {b, Access::Read}}));
  EXPECT_EQ(fake.openHandles(), 2);
  EXPECT_NE(board.link().writeChannel, board.link().readChannel);
}

TEST(FindBoard, OnlyTheTwoIdentifierPairsAreBoards) {
  const struct {
    uint16_t vendor, product;
    bool board;
  } cases[] = {{0x04D8, 0x003F, true},  {0x3289, 0x1001, true},  {0x04D8, 0x1001, false},
               {0x04D8, 0x0040, false}, {0x3288, 0x1001, false}, {0x3289, 0x003F, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.vendor << ":" << c.product);
    EXPECT_EQ(IsBoard(c.vendor, c.product), c.board);
  }
}

TEST(FindBoard, LosingTheBoardClearsFoundKeepsThePathAndClosesTheChannels) {
  FakeTransport fake;
  fake.AddBoard("b");
  Board board(fake, 50);
  // Rediscovery closes the previous channels: a hundred leave one pair open.
  for (int i = 0; i < 100; ++i) ASSERT_EQ(board.FindBoard(), kBoardFound);
  EXPECT_EQ(fake.openHandles(), 2);
  fake.listUnavailable = true;
  EXPECT_EQ(board.FindBoard(), kInterfaceListUnavailable);
  EXPECT_EQ(board.link().found, 0);
  EXPECT_EQ(fake.openHandles(), 0);

  fake.listUnavailable = false;
  ASSERT_EQ(board.FindBoard(), kBoardFound);
  fake.Unplug("b");
  EXPECT_EQ(board.FindBoard(), kNoBoard);
  EXPECT_EQ(board.link().found, 0);
  EXPECT_EQ(board.link().devicePath, "b");
  EXPECT_EQ(board.link().writeChannel, kNoHandle);
  EXPECT_EQ(board.link().readChannel, kNoHandle);
  EXPECT_EQ(fake.openHandles(), 0);

  fake.AddBoard("b");
  {
    Board other(fake, 50);
    ASSERT_EQ(other.FindBoard(), kBoardFound);
  }
  EXPECT_EQ(fake.openHandles(), 0);  // destroying a board closes its channels
}

TEST(FindBoard, HalfOpenLinkCountsAsFoundAndCommandsFailQuietly) {
  FakeTransport fake;
  fake.AddBoard("b");
  fake.interface("b").writeOpenable = false;
  Board board(fake, 50);
  EXPECT_EQ(board.FindBoard(), kBoardFound);
  EXPECT_EQ(board.link().writeChannel, kNoHandle);
  EXPECT_EQ(board.link().readChannel, kNoHandle);
  EXPECT_EQ(fake.CountCalls(FakeCall::Open), 2);  // the read channel is not even tried
  fake.ClearCalls();
  EXPECT_FALSE(board.InfoQuery());
  EXPECT_FALSE(board.Run());
  EXPECT_FALSE(board.ReadInput(1));
  EXPECT_FALSE(board.WriteImage(Image{}, nullptr));
  EXPECT_TRUE(fake.calls().empty());
  EXPECT_EQ(board.lastError().reason, LinkFailure::kNoBoard);
}

}  // namespace
}  // namespace pendra2::device
