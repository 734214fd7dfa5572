#include "cli/tune_play.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "melody/score.h"

namespace pendra2::cli {
namespace {

struct Case {
  std::vector<int> columns;
  bool loop;
  std::optional<int> partStart;
  std::optional<long long> maxTicks;
  std::size_t failAfter;  // sends that succeed before the board goes away
  std::size_t stopAfter;  // sends after which the user presses Ctrl+C
  int status;
  std::vector<int> sent;
  const char* message;  // in the error stream
};

TEST(PlayScore, PacedPlaybackEndsWithSilenceWhateverStopsIt) {
  const Case cases[] = {
      {{'l', 1, 2, 'L', 0, 0, 2, 4}, false, {}, {}, 9, 9, kDone, {2, 2, 4, 24, 23}, "period: 4 ms"},
      {{1, 2, 3, 4, 5, 6, 7, 8}, true, {}, {}, 9, 3, kInterrupted, {1, 2, 3, 23}, ""},
      {{1, 2, 3, 4}, false, {}, {}, 2, 9, kBoardFailed, {1, 2}, "could not be reached"},
      {{1, 2, 3, 4, 5}, false, 2, 2, 9, 9, kDone, {3, 4, 23}, ""},
  };
  for (const auto& c : cases) {
    melody::Score score;
    std::copy(c.columns.begin(), c.columns.end(), score.cells.begin());
    melody::SetTempoIndex(score, 12);  // 4 ms ticks keep the test short
    std::vector<int> sent;
    PlayHooks hooks;
    hooks.send = [&](uint8_t code) {
      if (sent.size() >= c.failAfter) return false;
      sent.push_back(code);
      return true;
    };
    hooks.interrupted = [&] { return sent.size() >= c.stopAfter; };
    PlayOptions options;
    options.partStart = c.partStart;
    options.loop = c.loop;
    options.maxTicks = c.maxTicks;
    options.stats = true;
    std::ostringstream out, err;
    EXPECT_EQ(PlayScore(score, options, hooks, {out, err}), c.status);
    EXPECT_EQ(sent, c.sent);
    EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
  }
}

}  // namespace
}  // namespace pendra2::cli
