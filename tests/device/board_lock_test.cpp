#include "device/board_lock.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <future>
#include <set>
#include <thread>

#include "flowchart/temp_dir.h"

namespace pendra2::device {
namespace {

TEST(DeviceLock, OneNamePerPathWithinWhatFileSystemsAllow) {
  const std::string longPath(600, 'x');
  const std::string paths[] = {"/dev/hidraw3", "/dev/hidraw3x", "1-2:1.0", "1-2_1.0", "pendra2", "",
                               longPath,       longPath + "y"};
  std::set<std::string> names;
  for (const auto& p : paths) {
    const std::string name = LockFileName(p);
    EXPECT_LE(name.size(), 255u) << p;
    EXPECT_EQ(name.find('/'), std::string::npos) << p;
    names.insert(name);
  }
  EXPECT_EQ(names.size(), std::size(paths));
}

TEST(DeviceLock, ASecondHolderWaitsSaysSoOnceAndGivesUpAtItsLimit) {
  pendra2::testing::TempDir runtime;
  ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
  DeviceLock first, second;
  int told = 0;
  const auto notice = [&](const std::string& path) {
    EXPECT_EQ(path, "board-a");
    ++told;
  };
  using std::chrono::milliseconds;
  EXPECT_EQ(first.Acquire("board-a", milliseconds(100), notice), DeviceLock::Result::Held);
  first.SetReplyCount(41);
  EXPECT_EQ(second.Acquire("board-b", milliseconds(100), notice), DeviceLock::Result::Held);
  second.Release();
  EXPECT_EQ(second.Acquire("board-a", milliseconds(600), notice), DeviceLock::Result::TimedOut);
  EXPECT_EQ(told, 1);
  first.Release();
  EXPECT_EQ(second.Acquire("board-a", milliseconds(100), notice), DeviceLock::Result::Held);
  EXPECT_EQ(second.ReplyCount(), 41u);  // the count lives in the lock file, for every holder
  ::unsetenv("XDG_RUNTIME_DIR");
}

// A discarded lock file must not split the lock in two: the program that waited on the
// removed file and one that makes a new file cannot both hold it.
TEST(DeviceLock, DiscardRemovesTheFileAndTheLockStaysOne) {
  pendra2::testing::TempDir runtime;
  ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
  using std::chrono::milliseconds;
  using R = DeviceLock::Result;
  DeviceLock first, waiter, newcomer;
  ASSERT_EQ(first.Acquire("gone", milliseconds(100), {}), R::Held);
  auto waited =
      std::async(std::launch::async, [&] { return waiter.Acquire("gone", milliseconds(800), {}); });
  std::this_thread::sleep_for(milliseconds(100));
  first.Discard();
  const R came = newcomer.Acquire("gone", milliseconds(300), {});
  const R stayed = waited.get();
  EXPECT_NE(came == R::Held, stayed == R::Held);
  newcomer.Discard();
  waiter.Discard();
  EXPECT_TRUE(std::filesystem::is_empty(runtime.Path()));
  ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace pendra2::device
