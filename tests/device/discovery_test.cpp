#include <gtest/gtest.h>

#include "device/board.h"
#include "support/fake_transport.h"

namespace pendra2::device {
namespace {

using test::FakeCall;
using test::FakeInterface;
using test::FakeTransport;

TEST(FindBoard, FirstListedBoardWinsAndTheOtherIsNeverOpened) {
  FakeTransport fake;
  fake.AddInterface({"/dev/hidraw0", 0x046D, 0xC52B, true, true, nullptr});
  fake.AddBoard("/dev/hidraw1", kMicrochipVendor, kMicrochipProduct);
  fake.AddBoard("/dev/hidraw2");
  Board board(fake, 50);

  EXPECT_EQ(board.FindBoard(), kBoardFound);
  EXPECT_EQ(board.link().found, 1);
  EXPECT_EQ(board.link().devicePath, "/dev/hidraw1");
  for (const auto& c : fake.calls()) {
    if (c.kind == FakeCall::Open) {
      EXPECT_EQ(c.path, "/dev/hidraw1");
    }
  }
  // Probe (read+write, closed again), then write channel, then read channel.
  std::vector<Access> opens;
  for (const auto& c : fake.calls()) {
    if (c.kind == FakeCall::Open) opens.push_back(c.access);
  }
  EXPECT_EQ(opens, (std::vector{Access::ReadWrite, Access::Write, Access::Read}));
  EXPECT_EQ(fake.openHandles(), 2);
  EXPECT_NE(board.link().writeChannel, board.link().readChannel);
}

TEST(FindBoard, OnlyTheTwoIdentifierPairsAreBoards) {
  EXPECT_TRUE(IsBoard(0x04D8, 0x003F));
  EXPECT_TRUE(IsBoard(0x3289, 0x1001));
  EXPECT_FALSE(IsBoard(0x04D8, 0x1001));
  EXPECT_FALSE(IsBoard(0x04D8, 0x0040));
  EXPECT_FALSE(IsBoard(0x3288, 0x1001));
  EXPECT_FALSE(IsBoard(0x3289, 0x003F));

  FakeTransport fake;
  fake.AddBoard("a", 0x04D8, 0x1001);  // Microchip vendor, another product
  fake.AddBoard("b", 0x1234, 0x1001);  // the product under another vendor
  fake.AddBoard("c", 0x3289, 0x003F);
  Board board(fake, 50);
  EXPECT_EQ(board.FindBoard(), kNoBoard);
  EXPECT_EQ(board.link().found, 0);
  EXPECT_EQ(fake.CountCalls(FakeCall::Open), 0);
}

TEST(FindBoard, AnInterfaceThatCannotBeOpenedIsSkipped) {
  FakeTransport fake;
  fake.AddBoard("held");
  fake.interface("held").openable = false;
  fake.AddBoard("free", kMicrochipVendor, kMicrochipProduct);
  Board board(fake, 50);
  EXPECT_EQ(board.FindBoard(), kBoardFound);
  EXPECT_EQ(board.link().devicePath, "free");
}

TEST(FindBoard, NoBoardAfterABoardClearsFoundAndKeepsThePath) {
  FakeTransport fake;
  fake.AddBoard("b");
  Board board(fake, 50);
  ASSERT_EQ(board.FindBoard(), kBoardFound);
  fake.Unplug("b");
  EXPECT_EQ(board.FindBoard(), kNoBoard);
  EXPECT_EQ(board.link().found, 0);
  EXPECT_EQ(board.link().devicePath, "b");
  EXPECT_EQ(board.link().writeChannel, kNoHandle);
  EXPECT_EQ(board.link().readChannel, kNoHandle);
  EXPECT_EQ(fake.openHandles(), 0);
}

TEST(FindBoard, RediscoveryClosesThePreviousChannels) {
  FakeTransport fake;
  fake.AddBoard("b");
  Board board(fake, 50);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(board.FindBoard(), kBoardFound);
  EXPECT_EQ(fake.openHandles(), 2);
  board.CloseChannels();
  EXPECT_EQ(fake.openHandles(), 0);
}

TEST(FindBoard, DestroyingTheBoardClosesItsChannels) {
  FakeTransport fake;
  fake.AddBoard("b");
  {
    Board board(fake, 50);
    board.FindBoard();
  }
  EXPECT_EQ(fake.openHandles(), 0);
}

TEST(FindBoard, UnavailableListIsReportedToTheCaller) {
  FakeTransport fake;
  fake.AddBoard("b");
  Board board(fake, 50);
  ASSERT_EQ(board.FindBoard(), kBoardFound);
  fake.listUnavailable = true;
  EXPECT_EQ(board.FindBoard(), kInterfaceListUnavailable);
  EXPECT_EQ(board.link().found, 0);
  EXPECT_EQ(fake.openHandles(), 0);
  EXPECT_STREQ(kInterfaceListText, "Invalid handle");
  EXPECT_STREQ(kInterfaceListCaption, "HID");
}

TEST(FindBoard, HalfOpenLinkCountsAsFoundAndCommandsFailQuietly) {
  FakeTransport fake;
  fake.AddBoard("b");
  fake.interface("b").writeOpenable = false;
  Board board(fake, 50);
  EXPECT_EQ(board.FindBoard(), kBoardFound);
  EXPECT_EQ(board.link().writeChannel, kNoHandle);
  EXPECT_EQ(board.link().readChannel, kNoHandle);  // not even tried
  EXPECT_EQ(fake.CountCalls(FakeCall::Open), 2);
  fake.ClearCalls();

  const Image image{};
  EXPECT_FALSE(board.InfoQuery());
  EXPECT_FALSE(board.Run());
  EXPECT_FALSE(board.ReadInput(1));
  EXPECT_FALSE(board.WriteImage(image, nullptr));
  EXPECT_TRUE(fake.calls().empty());
}

}  // namespace
}  // namespace pendra2::device
