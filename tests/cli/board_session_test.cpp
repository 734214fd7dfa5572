// What the board commands say before they send anything: which board is missing, or which
// one is there but cannot be used, and a reply wait the environment got wrong.

#include "cli/board_session.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli_run.h"
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

// A hub of boards: a mouse first, two boards of one batch (the same serial string) told
// apart by their ports, one with a serial of its own, the last held by another program.
std::unique_ptr<test::FakeTransport> Classroom(int boards) {
  auto transport = std::make_unique<test::FakeTransport>();
  transport->AddInterface({"hid-0", 0x046D, 0xC077, true, true, nullptr});
  const struct {
    const char* path;
    const char* serial;
    const char* port;
  } attached[] = {
      {"hid-1", "A17", "1-1"}, {"hid-2", "A17", "1-2"}, {"hid-3", "B02", ""}, {"hid-4", "", ""}};
  for (int i = 0; i < boards; ++i) {
    transport->AddBoard(attached[i].path);
    transport->interface(attached[i].path).serial = attached[i].serial;
    transport->interface(attached[i].path).port = attached[i].port;
  }
  if (boards == 4) transport->interface("hid-4").openable = false;
  return transport;
}

TEST(ConnectBoard, TakesTheOneBoardOrTheOneNamedAndNeverGuessesAmongSeveral) {
  const struct {
    int boards;
    const char* wanted;
    int status;
    const char* connected;  // the board's path, when one is connected
    const char* says;       // part of what the error stream says
  } cases[] = {
      {0, "", kNoBoard, nullptr, "no Pendra2 board found: is it plugged in?"},
      {0, "1", kNoBoard, nullptr, "called '1', and none is attached"},
      {1, "", kDone, "hid-1", ""},
      {1, "1", kDone, "hid-1", ""},
      // Several and none named: the list, numbered without the mouse, named by port where
      // the serial is shared, and nothing opened.
      {3, "", kUsage, nullptr, "3 Pendra2 boards are attached; say which with --board"},
      {3, "2", kDone, "hid-2", ""},
      {3, "1-2", kDone, "hid-2", ""},    // its port
      {3, "B02", kDone, "hid-3", ""},    // its serial
      {3, "hid-1", kDone, "hid-1", ""},  // its path
      {3, "A17", kNoBoard, nullptr, "no attached Pendra2 board is called 'A17'"},
      {3, "4", kNoBoard, nullptr, "called '4'; the boards attached are:\n  1  1-1"},
      {3, "0", kNoBoard, nullptr, "is called '0'"},
      {3, "hid-0", kNoBoard, nullptr, "is called 'hid-0'"},  // not a board
      {4, "4", kNoBoard, nullptr, "attached at hid-4 but cannot be opened"},
      {4, "hid-3", kDone, "hid-3", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.boards) + " boards, --board '" + c.wanted + "'");
    auto transport = Classroom(c.boards);
    test::FakeTransport& fake = *transport;
    std::ostringstream out, err;
    BoardSession session;
    EXPECT_EQ(ConnectBoard(session, std::move(transport), {out, err}, c.wanted), c.status);
    EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
    if (c.connected != nullptr) {
      EXPECT_EQ(session.board->link().devicePath, c.connected);
    } else if (c.status == kUsage) {
      EXPECT_EQ(fake.CountCalls(test::FakeCall::Open), 0);
      EXPECT_NE(err.str().find("  1  1-1  hid-1\n  2  1-2  hid-2\n  3  B02  hid-3\n"),
                std::string::npos)
          << err.str();
    }
  }
}

TEST(ConnectBoard, ABoardOptionWithoutOneBoardIsAUsageError) {
  using testing::RunCli;
  for (const char* line : {"run --board", "stop --board=", "board-info --board 1 --board 2",
                           "write x.flc --all --board 1", "note C1 --board"}) {
    SCOPED_TRACE(line);
    const auto r = RunCli(line);
    EXPECT_EQ(r.status, kUsage);
    EXPECT_NE(r.err.find("--board"), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace pendra2::cli
