// Chimecraft tunes through the command line: the board image, the dump, the dry-run
// playback, and the paced playback whatever stops it.

#include <gtest/gtest.h>

#include "cli/tune_play.h"
#include "cli_run.h"
#include "melody/helpers.h"

namespace pendra2::cli {
namespace {

using melody::testing::kLoopTune;
using melody::testing::TuneFile;
using pendra2::testing::WriteBytes;

class TuneCommands : public ::testing::Test {
 protected:
  testing::CliResult Cli(const std::string& line) { return testing::RunCli(line, dir.Path()); }
  pendra2::testing::TempDir dir;
};

TEST_F(TuneCommands, ImageBytesAndTheLongestTuneThatFits) {
  WriteBytes(dir / "six.olg", TuneFile({0, 4, 7, 12, 23, 22}, 6, 30));
  const auto raw = Cli("image @/six.olg");
  ASSERT_EQ(raw.status, kDone) << raw.err;
  EXPECT_EQ(raw.out,
            std::string("T\x1e\x00\x04\x07\x0c\x17\x16\x18\x45", 10) + std::string(502, '\xff'));
  // --hex and -o write a tune's image as they write a program's, tested there.

  WriteBytes(dir / "long.olg", TuneFile(std::vector<int>(509, 5)));
  const auto r = Cli("image @/long.olg");
  EXPECT_TRUE(r.status == kTooLarge && r.out.empty());
  EXPECT_NE(r.err.find("508"), std::string::npos) << r.err;
  WriteBytes(dir / "fits.olg", TuneFile(std::vector<int>(508, 5)));
  EXPECT_EQ(Cli("image @/fits.olg").status, kDone);
}

TEST_F(TuneCommands, DumpShowsTheTuneAsLoaded) {
  auto bytes = TuneFile({1, 255, 3}, 9, 6);
  bytes[6] = 77;  // a stale length: shown as the file holds it
  WriteBytes(dir / "d.olg", bytes);
  std::string cells = "1, 255, 3, 24";
  for (int p = 4; p < 512; ++p) cells += ", 255";
  EXPECT_EQ(
      Cli("dump @/d.olg").out,
      "{\n  \"length\": 77,\n  \"tempoIndex\": 9,\n  \"tempoPair\": [84, 6],\n  \"cells\": [" +
          cells + "]\n}\n");
  bytes[24] = 200;
  WriteBytes(dir / "d.olg", bytes);
  EXPECT_NE(Cli("dump @/d.olg").out.find("\"tempoIndex\": 2,"), std::string::npos);
}

TEST_F(TuneCommands, DryRunPlaysLoopsPartsAndStopsWithSilence) {
  WriteBytes(dir / "loop.olg", TuneFile(kLoopTune));
  const std::pair<std::string, std::string> runs[] = {
      {"loop.olg", "0 2 2 2 4 24 23"},
      {"loop.olg --part 3", "2 4 24 23"},
      // A loop mark takes a tick of its own; stopping early still silences the board.
      {"loop.olg --max-ticks 3", "0 2 23"},
      {"loop.olg --loop --max-ticks 12", "0 2 2 2 4 24 0 23"},
      {"cut.olg", "1 2 24 23"},  // cut short after two columns: read as far as it goes
  };
  auto cut = TuneFile({1, 2, 3});
  cut.resize(68);
  WriteBytes(dir / "cut.olg", cut);
  for (auto [options, sent] : runs) {
    const auto r = Cli("play @/" + options + " --dry-run");
    std::replace(sent.begin(), sent.end(), ' ', '\n');
    EXPECT_EQ(r.status, kDone) << r.err;
    EXPECT_EQ(r.out, sent + "\n") << options;
    EXPECT_EQ(r.err.find("warning") != std::string::npos, options == "cut.olg") << r.err;
  }
  // An endless dry run comes back by itself.
  WriteBytes(dir / "one.olg", TuneFile({5}));
  const auto r = Cli("play @/one.olg --dry-run --loop");
  EXPECT_EQ(r.status, kDone);
  EXPECT_NE(r.err.find("--max-ticks"), std::string::npos);
  EXPECT_EQ(r.out.substr(r.out.size() - 3), "23\n");
}

TEST(PlayScore, PacedPlaybackEndsWithSilenceWhateverStopsIt) {
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
  const Case cases[] = {
      {{'l', 1, 2, 'L', 0, 0, 2, 4}, false, {}, {}, 9, 9, kDone, {2, 2, 4, 24, 23}, "period: 4 ms"},
      {{1, 2, 3, 4, 5, 6, 7, 8}, true, {}, {}, 9, 3, kInterrupted, {1, 2, 3, 23}, ""},
      {{1, 2, 3, 4}, false, {}, {}, 2, 9, kBoardFailed, {1, 2}, "could not be reached"},
      {{1, 2, 3, 4, 5}, false, 2, 2, 9, 9, kDone, {3, 4, 23}, ""},
  };
  for (const auto& c : cases) {
    melody::Score score = melody::testing::ScoreOf(c.columns);
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
