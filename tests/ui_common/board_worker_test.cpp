// The board worker: the user's requests in order and whole, ahead of background looks, which
// are coalesced and give way; and against a real board process that stops answering, the
// failure within 2.5 s of the request and the board back by itself once it answers again.

#include "ui_common/board_worker.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <future>
#include <string>

#include "device/virtual_transport.h"
#include "support/board_process.h"
#include "support/fake_transport.h"

namespace pendra2::ui {
namespace {

int Find(device::Board& board) {
  return board.FindBoard();
}

TEST(BoardWorker, UserRequestsGoInOrderAheadOfTheOneBackgroundLook) {
  test::FakeTransport fake;
  fake.AddBoard("b");
  BoardWorker worker(fake, 50);
  ASSERT_EQ(worker.AskAndWait(Find), device::kBoardFound);
  fake.ClearCalls();

  // While the worker is held by a request, a look and two more requests queue up.
  std::promise<void> release;
  worker.Send([held = release.get_future().share()](device::Board&) { held.wait(); });
  for (int i = 0; i < 5; ++i) worker.RequestRefresh();
  worker.Send([](device::Board& board) { board.Run(); });
  std::string told;
  worker.Ask(
      nullptr, [](device::Board& board) { return board.InfoQuery(); },
      [&](bool answered) { told += answered ? "answered " : "silent "; });
  EXPECT_TRUE(worker.busy());
  release.set_value();
  worker.WaitIdle();

  EXPECT_FALSE(worker.busy());
  EXPECT_EQ(told, "answered ");
  std::string order;
  for (const test::FakeCall& call : fake.calls()) {
    if (call.kind == test::FakeCall::Write) order += static_cast<char>(call.report[1]);
    if (call.kind == test::FakeCall::Enumerate) order += '*';
  }
  EXPECT_EQ(order, "RC*") << "one look for five asked, after the user's requests";
  EXPECT_TRUE(worker.status().present());

  // A request that does not reach the board takes its buttons away; a look brings them back.
  fake.Unplug("b");
  worker.Ask(
      nullptr, [](device::Board& board) { return board.Run(); },
      [&](bool reached) { told = reached ? "reached" : "not reached"; });
  worker.WaitIdle();
  EXPECT_EQ(told, "not reached");
  EXPECT_FALSE(worker.status().present());
  EXPECT_EQ(worker.status().lastFailure, device::LinkFailure::kWriteFailed);
  fake.AddBoard("b");
  worker.RequestRefresh();
  worker.WaitIdle();
  EXPECT_TRUE(worker.status().present());
}

// The window's side of a real board: a request waits at most its own reply wait, however
// long the board keeps a background look waiting.
TEST(BoardWorker, ASilentBoardFailsARequestWithinItsOwnReplyWait) {
  test::BoardProcess board({"--no-reply"});
  ASSERT_TRUE(board.ready()) << board.Trouble();
  device::VirtualTransport transport({board.name().toStdString()});
  BoardWorker worker(transport, 2000);
  ASSERT_EQ(worker.AskAndWait(Find), device::kBoardFound);
  worker.SetRefreshAsksAutoMode(true);
  worker.RequestRefresh();  // its auto-mode question would wait two seconds
  QTest::qWait(100);
  QElapsedTimer clock;
  clock.start();
  const bool answered = worker.AskAndWait([](device::Board& b) { return b.InfoQuery(); });
  EXPECT_FALSE(answered);
  // Waiting behind the look as well would take twice the reply wait.
  EXPECT_LT(clock.elapsed(), 3000);
  EXPECT_FALSE(worker.status().present());
}

TEST(BoardWorker, ABoardThatAnswersAgainShowsByItselfWithinASecond) {
  test::BoardProcess board;
  ASSERT_TRUE(board.ready()) << board.Trouble();
  device::VirtualTransport transport({board.name().toStdString()});
  BoardWorker worker(transport, 300);
  ASSERT_EQ(worker.AskAndWait(Find), device::kBoardFound);
  worker.StartIdlePoll(kIdlePollAbsentMs, kIdlePollPresentMs);
  board.Freeze(true);
  EXPECT_FALSE(worker.AskAndWait([](device::Board& b) { return b.InfoQuery(); }));
  EXPECT_FALSE(worker.status().present());
  board.Freeze(false);
  // Half a second between polls, and a poll under way may have given up on the stuck board
  // just before it went on.
  EXPECT_TRUE(QTest::qWaitFor([&] { return worker.status().present(); }, 2500));
}

}  // namespace
}  // namespace pendra2::ui
