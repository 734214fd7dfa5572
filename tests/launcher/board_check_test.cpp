#include <gtest/gtest.h>

#include "launcher/board_check.h"
#include "support/fake_transport.h"

namespace pendra2::launcher {
namespace {

using test::FakeCall;
using test::FakeTransport;

virtual_board::BoardIdentity Generation(const char* version) {
  virtual_board::BoardIdentity identity;
  identity.version = version;
  return identity;
}

TEST(PollBoard, ReportsTheBoardAndLeavesNoChannelOpenAndSendsNothing) {
  FakeTransport transport;
  device::Board board(transport, 50);
  EXPECT_EQ(PollBoard(board), PollOutcome::NoBoard);

  transport.AddBoard("/dev/hidraw3");
  EXPECT_EQ(PollBoard(board), PollOutcome::BoardFound);
  EXPECT_EQ(transport.openHandles(), 0);
  EXPECT_EQ(transport.CountCalls(FakeCall::Write), 0);

  transport.Unplug("/dev/hidraw3");
  EXPECT_EQ(PollBoard(board), PollOutcome::NoBoard);

  transport.listUnavailable = true;
  EXPECT_EQ(PollBoard(board), PollOutcome::ListUnavailable);
}

TEST(CheckStepcraftBoard, OnlyExactlyThreePassesAndARefusedBoardKeepsItsChannels) {
  for (const char* version : {"V4.00.00", "V2.10.00", "V:00.000", "3V.00.00"}) {
    SCOPED_TRACE(version);
    FakeTransport transport;
    transport.AddBoard("/dev/hidraw0", device::kPendraVendor, device::kPendraProduct,
                       Generation(version));
    device::Board board(transport, 50);
    EXPECT_EQ(CheckStepcraftBoard(board), StepcraftGate::WrongGeneration);
    EXPECT_EQ(transport.openHandles(), 2);
  }
}

TEST(CheckStepcraftBoard, ASilentBoardIsRefusedAfterTheReplyWait) {
  FakeTransport transport;
  transport.AddBoard("/dev/hidraw0");
  transport.silent = true;
  device::Board board(transport, 20);
  EXPECT_EQ(CheckStepcraftBoard(board), StepcraftGate::WrongGeneration);
}

}  // namespace
}  // namespace pendra2::launcher
