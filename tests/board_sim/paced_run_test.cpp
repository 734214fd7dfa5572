#include "board_sim/paced_run.h"

#include <gtest/gtest.h>

#include <vector>

#include "board_sim/sim_helpers.h"

namespace pendra2::board_sim {
namespace {

using testing::Bytes;
using testing::Join;
using testing::MakeImage;

constexpr Micros kMs = 1000;
constexpr uint8_t kHalfSecond = 121;  // the tempo byte of the 0.5 s row

// LED on, wait 0.5 s (one rest), LED off, wait 0.5 s, again: addresses 0, 3, 6, 9, 12.
const Bytes kBlink = Join({{'O', 0, 1},
                           {'T', kHalfSecond, 23},
                           {'O', 0, 0},
                           {'T', kHalfSecond, 23},
                           {'b', 0, 0, 0, 0, 0}});

struct Driven {
  PacedRun run;
  std::vector<int> addresses;  // what ran, tune columns as 1000 + their address
  PacedRun::Did did = [this](const Executed& e) {
    addresses.push_back(e.column ? 1000 + e.address : e.address);
  };
  Micros now = 0;
  explicit Driven(const Bytes& image) { run.Load(MakeImage(image)); }
  // The clock moves on to `ms` as a timer would drive it, a call every 10 ms.
  void At(Micros ms) {
    for (; now < ms * kMs; now += 10 * kMs) run.Run(now, did);
    now = ms * kMs;
    run.Run(now, did);
  }
};

TEST(PacedRun, BoardPaceKeepsTheWaitsAndWakesWhenTheNextStepIsDue) {
  Driven d(kBlink);
  d.run.Start(0);
  d.At(1);
  EXPECT_EQ(d.addresses, (std::vector<int>{0, 3, 1005}));
  EXPECT_EQ(d.run.NextWake(), 500 * kMs + 200);
  d.At(499);
  EXPECT_EQ(d.addresses.size(), 3u);
  d.At(501);
  EXPECT_EQ(d.addresses, (std::vector<int>{0, 3, 1005, 6, 9, 1011}));
  EXPECT_TRUE(d.run.sim().outputs().led == false);
}

TEST(PacedRun, WatchPaceHoldsEachStepHalfASecondAndQuarterPaceStretchesWaits) {
  Driven watch(kBlink);
  watch.run.SetPace(Pace::Watch, 0);
  watch.run.Start(0);
  watch.At(1);
  EXPECT_EQ(watch.addresses, (std::vector<int>{0}));
  watch.At(499);
  EXPECT_EQ(watch.addresses.size(), 1u);
  watch.At(1000);
  EXPECT_EQ(watch.addresses, (std::vector<int>{0, 3, 1005}));

  Driven quarter(kBlink);
  quarter.run.SetPace(Pace::Quarter, 0);
  quarter.run.Start(0);
  quarter.At(1999);
  EXPECT_EQ(quarter.addresses, (std::vector<int>{0, 3, 1005}));
  quarter.At(2002);
  EXPECT_EQ(quarter.addresses.size(), 6u);
}

TEST(PacedRun, BreakpointsPauseBeforeTheirStepEvenRightAfterAWait) {
  Driven d(kBlink);
  std::bitset<kImageBytes> marks;
  marks[6] = true;  // LED off, which follows the first wait
  d.run.SetBreakpoints(marks);
  d.run.Start(0);
  d.At(2000);
  EXPECT_EQ(d.addresses, (std::vector<int>{0, 3, 1005}));
  EXPECT_TRUE(d.run.atBreakpoint());
  EXPECT_FALSE(d.run.NextWake().has_value());

  // The paused time does not count: going on runs the marked step at once, not twice.
  d.At(5000);
  d.run.Resume(5000 * kMs);
  d.At(5001);
  EXPECT_EQ(d.addresses.back(), 1011);
  EXPECT_EQ(d.run.NextWake(), 5500 * kMs + 200);
  // Round the loop, the same mark pauses again.
  d.At(7000);
  EXPECT_TRUE(d.run.atBreakpoint());
  EXPECT_EQ(d.addresses.back(), 1005);
}

TEST(PacedRun, OneStepAtATimeFromStoppedAndAPauseKeepsTheRestOfAWait) {
  Driven d(kBlink);
  ASSERT_TRUE(d.run.StepOnce(0, d.did));
  EXPECT_EQ(d.run.state(), RunState::Paused);
  EXPECT_TRUE(d.run.StepOnce(0, d.did));
  EXPECT_TRUE(d.run.StepOnce(0, d.did));
  EXPECT_EQ(d.addresses, (std::vector<int>{0, 3, 1005}));

  // The wait's column has just begun: after a 3 s pause it still lasts its half second.
  d.now = 3000 * kMs;
  d.run.Resume(d.now);
  d.At(3400);
  EXPECT_EQ(d.addresses.size(), 3u);
  d.At(3501);
  EXPECT_EQ(d.addresses.size(), 6u);
  d.At(3700);
  d.run.Pause(d.now);
  d.now = 4700 * kMs;
  d.run.Resume(d.now);
  d.At(4999);
  EXPECT_EQ(d.addresses.size(), 6u);
  d.At(5001);
  EXPECT_EQ(d.addresses, (std::vector<int>{0, 3, 1005, 6, 9, 1011, 12, 0, 3, 1005}));
}

TEST(PacedRun, ALateClockDoesNotMakeTheBoardRace) {
  // Read input 1 and loop: no endless-loop stop, a step every 0.1 ms.
  Driven d(Join({{'B', 0, 0, 2, 0, 0}, {'b', 0, 0, 0, 0, 0}}));
  d.run.Start(0);
  d.run.Run(60'000 * kMs, d.did);
  EXPECT_LT(d.addresses.size(), 20'000u);
  EXPECT_EQ(d.run.state(), RunState::Running);
}

}  // namespace
}  // namespace pendra2::board_sim
