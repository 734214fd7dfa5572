#include "device/board_lock.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <set>

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

}  // namespace
}  // namespace pendra2::device
