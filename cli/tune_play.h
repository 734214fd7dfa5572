#pragma once
// pendra2-cli play: the melody playback engine driven by a clock instead of the editor's
// timer. Split from the command so tests can drive it with any sender and clock.

#include <functional>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "melody/score.h"

namespace pendra2::cli {

struct PlayOptions {
  std::string file;
  std::optional<int> partStart;  // --part START: the 21 columns from START
  bool loop = false;
  bool dryRun = false;
  std::optional<long long> maxTicks;
  bool stats = false;  // --stats: report the measured tick intervals on stderr
};

// Ticks that a dry run without --max-ticks runs at most, so that a tune whose loops never
// end (a damaged file, or --loop) still comes back.
inline constexpr long long kDryRunTickLimit = 1000000;

struct PlayHooks {
  // Sends one PlayNote; false when the board could not be reached.
  std::function<bool(uint8_t)> send;
  // Polled between ticks: true once the user asked to stop (Ctrl+C).
  std::function<bool()> interrupted;
  bool paced = true;  // wait each tick's period (false: a dry run)
};

// Parses the play arguments; nullopt after writing the usage error.
std::optional<PlayOptions> ParsePlayOptions(Args args, Streams io);

// Plays the score (normalising it) and ends with silence however it stops. Returns kDone,
// kInterrupted when the user stopped it, or kBoardFailed when a send failed.
int PlayScore(melody::Score& score, const PlayOptions& options, const PlayHooks& hooks, Streams io);

}  // namespace pendra2::cli
