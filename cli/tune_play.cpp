#include "cli/tune_play.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "cli/numbers.h"
#include "melody/playback.h"
#include "melody/score_edits.h"

namespace pendra2::cli {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kPlayUsage =
    "usage: pendra2-cli play FILE.olg [--part START] [--loop] [--dry-run] [--max-ticks N] "
    "[--stats]\n";

// Waits until `when`, in short slices so that Ctrl+C is noticed quickly even at the slowest
// tempo. False when interrupted.
bool WaitUntil(Clock::time_point when, const PlayHooks& hooks) {
  constexpr auto kSlice = std::chrono::milliseconds(20);
  for (;;) {
    if (hooks.interrupted && hooks.interrupted()) return false;
    const auto now = Clock::now();
    if (now >= when) return true;
    std::this_thread::sleep_until(std::min(when, now + kSlice));
  }
}

}  // namespace

std::optional<PlayOptions> ParsePlayOptions(Args args, Streams io) {
  PlayOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--part" && i + 1 < args.size()) {
      o.partStart = ParseNumber<int>(args[++i], 0, melody::kMaxScrollPos);
      if (!o.partStart) {
        io.err << "pendra2-cli: --part takes a column position from 0 to " << melody::kMaxScrollPos
               << ", not '" << args[i] << "'\n";
        return std::nullopt;
      }
    } else if (a == "--max-ticks" && i + 1 < args.size()) {
      o.maxTicks = ParseNumber<long long>(args[++i], 0, 1'000'000'000'000LL);
      if (!o.maxTicks) {
        io.err << "pendra2-cli: --max-ticks takes a whole number of ticks, not '" << args[i]
               << "'\n";
        return std::nullopt;
      }
    } else if (a == "--loop") {
      o.loop = true;
    } else if (a == "--dry-run") {
      o.dryRun = true;
    } else if (a == "--stats") {
      o.stats = true;
    } else if (!a.empty() && a[0] != '-' && o.file.empty()) {
      o.file = a;
    } else {
      io.err << kPlayUsage;
      return std::nullopt;
    }
  }
  if (o.file.empty()) {
    io.err << kPlayUsage;
    return std::nullopt;
  }
  return o;
}

int PlayScore(melody::Score& score, const PlayOptions& options, const PlayHooks& hooks,
              Streams io) {
  melody::PlaybackState state;
  state.loopPlay = options.loop;
  const int scrollPos = options.partStart.value_or(0);
  const std::optional<int> first = options.partStart
                                       ? melody::StartPartPlayback(state, score, 0, scrollPos)
                                       : melody::StartWholePlayback(state, score, 0);
  if (!first) return kDone;  // cannot happen on a fresh state

  long long limit = options.maxTicks.value_or(-1);
  if (!hooks.paced && !options.maxTicks) limit = kDryRunTickLimit;

  int status = kDone;
  auto send = [&](uint8_t code) {
    if (!hooks.send(code) && status == kDone) {
      io.err << "pendra2-cli: the board could not be reached; playback stopped\n";
      status = kBoardFailed;
    }
  };

  const auto start = Clock::now();
  auto deadline = start + std::chrono::milliseconds(*first);
  long long ticks = 0;
  Clock::time_point lastTick{};
  double intervalSum = 0;
  long long intervals = 0;
  bool running = true;
  bool interrupted = false;
  while (running && status == kDone && (limit < 0 || ticks < limit)) {
    if (hooks.paced ? !WaitUntil(deadline, hooks) : hooks.interrupted && hooks.interrupted()) {
      interrupted = true;
      break;
    }
    const auto now = Clock::now();
    if (ticks > 0) {
      intervalSum += std::chrono::duration<double, std::milli>(now - lastTick).count();
      ++intervals;
    }
    lastTick = now;
    const melody::TickResult r = melody::PlaybackTick(state, score, scrollPos, true);
    ++ticks;
    if (r.note) send(*r.note);
    running = r.running;
    // Deadlines advance by the period from the previous deadline, so the time the send took
    // does not add up tick after tick; after a long stall the clock starts afresh.
    deadline += std::chrono::milliseconds(r.periodMs);
    if (Clock::now() > deadline + std::chrono::milliseconds(r.periodMs)) {
      deadline = Clock::now() + std::chrono::milliseconds(r.periodMs);
    }
  }
  if (running) {
    if (const auto silence = melody::StopPlayback(state, status == kDone)) send(*silence);
    if (!hooks.paced && !options.maxTicks && ticks >= limit) {
      io.err << "pendra2-cli: stopped after " << limit
             << " ticks; the tune does not end by itself (give --max-ticks)\n";
    }
  }
  if (options.stats) {
    io.err << "ticks: " << ticks << ", period: " << melody::PeriodMs(score) << " ms";
    if (intervals > 0)
      io.err << ", mean interval: " << intervalSum / static_cast<double>(intervals) << " ms";
    io.err << "\n";
  }
  // Stopped by the user after the silence went out: reported as an interrupted program is.
  return status == kDone && interrupted ? kInterrupted : status;
}

}  // namespace pendra2::cli
