#include "cli/tune_play.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "melody/score.h"

namespace pendra2::cli {
namespace {

melody::Score FastTune(std::initializer_list<int> columns) {
  melody::Score score;
  int p = 0;
  for (int c : columns) score.cells[static_cast<std::size_t>(p++)] = static_cast<uint8_t>(c);
  melody::SetTempoIndex(score, 12);  // 4 ms ticks keep the test short
  return score;
}

struct Recorder {
  std::vector<int> sent;
  int failAfter = -1;  // sends that succeed before the board goes away
  int stopAfter = -1;  // sends after which the user presses Ctrl+C
  PlayHooks Hooks() {
    PlayHooks hooks;
    hooks.send = [this](uint8_t code) {
      if (failAfter >= 0 && static_cast<int>(sent.size()) >= failAfter) return false;
      sent.push_back(code);
      return true;
    };
    hooks.interrupted = [this] {
      return stopAfter >= 0 && static_cast<int>(sent.size()) >= stopAfter;
    };
    return hooks;
  }
};

TEST(PlayScore, PacedPlaybackSendsEveryColumnThenSilence) {
  melody::Score score = FastTune({0, 'l', 1, 2, 'L', 0, 0, 3, 4});
  Recorder rec;
  std::ostringstream out, err;
  PlayOptions options;
  options.stats = true;
  EXPECT_EQ(PlayScore(score, options, rec.Hooks(), {out, err}), kDone);
  EXPECT_EQ(rec.sent, (std::vector<int>{0, 2, 2, 4, 24, 23}));
  EXPECT_NE(err.str().find("period: 4 ms"), std::string::npos) << err.str();
}

TEST(PlayScore, CtrlCStopsWithSilence) {
  melody::Score score = FastTune({1, 2, 3, 4, 5, 6, 7, 8});
  Recorder rec;
  rec.stopAfter = 3;
  std::ostringstream out, err;
  PlayOptions options;
  options.loop = true;
  EXPECT_EQ(PlayScore(score, options, rec.Hooks(), {out, err}), kDone);
  EXPECT_EQ(rec.sent, (std::vector<int>{1, 2, 3, 23}));
}

TEST(PlayScore, ABoardThatGoesAwayEndsThePlayback) {
  melody::Score score = FastTune({1, 2, 3, 4});
  Recorder rec;
  rec.failAfter = 2;
  std::ostringstream out, err;
  EXPECT_EQ(PlayScore(score, PlayOptions{}, rec.Hooks(), {out, err}), kBoardFailed);
  EXPECT_EQ(rec.sent, (std::vector<int>{1, 2}));
  EXPECT_NE(err.str().find("could not be reached"), std::string::npos);
}

TEST(PlayScore, MaxTicksStopsAPartPlaybackWithSilence) {
  melody::Score score = FastTune({1, 2, 3, 4, 5});
  Recorder rec;
  std::ostringstream out, err;
  PlayOptions options;
  options.partStart = 2;
  options.maxTicks = 2;
  EXPECT_EQ(PlayScore(score, options, rec.Hooks(), {out, err}), kDone);
  EXPECT_EQ(rec.sent, (std::vector<int>{3, 4, 23}));
}

}  // namespace
}  // namespace pendra2::cli
