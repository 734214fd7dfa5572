// What the board commands say before they send anything: which board is missing, or which
// one is there but cannot be used, and a reply wait the environment got wrong.

#include "cli/board_session.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/fake_transport.h"

namespace pendra2::cli {
namespace {

TEST(ConnectBoard, SaysWhyThereIsNoUsableBoardAndAMistypedReplyWaitOnce) {
  enum Setup { kNothing, kOtherDevice, kHeldBoard, kNoWriteChannel, kBoard };
  const struct {
    Setup setup;
    int status;
    const char* says;
  } cases[] = {
      {kNothing, kNoBoard, "no Pendra2 board found: is it plugged in?"},
      {kOtherDevice, kNoBoard, "no Pendra2 board found"},
      {kHeldBoard, kNoBoard, "is attached at hid-1 but cannot be opened"},
      {kNoWriteChannel, kNoBoard, "cannot be opened for writing and reading"},
      // A reply wait that is no number is reported once, and the default used.
      {kBoard, kDone, "PENDRA2_REPLY_TIMEOUT_MS='2s'"},
  };
  for (const auto& c : cases) {
    auto transport = std::make_unique<test::FakeTransport>();
    if (c.setup == kOtherDevice) {
      test::FakeInterface mouse;
      mouse.path = "hid-0";
      mouse.vendorId = 0x046D;
      mouse.productId = 0xC077;
      transport->AddInterface(mouse);
    }
    if (c.setup >= kHeldBoard) transport->AddBoard("hid-1");
    if (c.setup == kHeldBoard) transport->interface("hid-1").openable = false;
    if (c.setup == kNoWriteChannel) transport->interface("hid-1").writeOpenable = false;
    if (c.setup == kBoard) ::setenv("PENDRA2_REPLY_TIMEOUT_MS", "2s", 1);
    std::ostringstream out, err;
    BoardSession session;
    EXPECT_EQ(ConnectBoard(session, std::move(transport), {out, err}), c.status) << c.setup;
    ::unsetenv("PENDRA2_REPLY_TIMEOUT_MS");
    const std::string said = err.str();
    EXPECT_NE(said.find(c.says), std::string::npos) << said;
    if (c.setup >= kHeldBoard && c.setup < kBoard) {
      EXPECT_NE(said.find("udev rule"), std::string::npos) << said;
    }
    if (c.setup == kBoard) {
      EXPECT_EQ(said.find("PENDRA2"), said.rfind("PENDRA2"));
      EXPECT_EQ(session.board->replyTimeoutMs(), 2000);
    }
  }
}

}  // namespace
}  // namespace pendra2::cli
