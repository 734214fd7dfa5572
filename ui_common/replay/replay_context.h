#pragma once
// What the parts of a replayed session share: the answers queued so far, each kind in its
// own queue and used in order by the kind of box that opens; the transcript; and whether the
// session has already gone otherwise than the script says.

#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "ui_common/replay/replay_script.h"

namespace pendra2::ui::replay {

template <typename T>
struct Queued {
  T value;
  int line = 0;  // the script line that queued it, for messages
};

// Exit statuses of a replayed session.
inline constexpr int kReplayDone = 0;
inline constexpr int kReplayUsage = 1;
inline constexpr int kReplayUnreadable = 2;
inline constexpr int kReplayWentOtherwise = 3;

class ReplayContext {
 public:
  explicit ReplayContext(std::ostream& out) : out_(out) {}
  ReplayContext(const ReplayContext&) = delete;
  ReplayContext& operator=(const ReplayContext&) = delete;

  std::deque<Queued<interaction::PromptAnswer>> answers;
  std::deque<Queued<std::optional<std::string>>> files;
  std::deque<Queued<std::optional<std::string>>> prints;
  std::deque<Queued<const DialogBlock*>> dialogs;

  // Whether board operations that earlier lines started (a transfer, a run or stop, a
  // dialog's reading) are still under way; background looks at the board do not count.
  std::function<bool()> boardBusy;
  // Before each line: those operations end (or fail) first, so a session runs the same way
  // however quickly the board answers. Each is bounded by the reply wait; this bounds all.
  void WaitForBoard() const;

  // One transcript line; flushed at once so that a session that hangs or crashes still
  // shows how far it got.
  void Print(const std::string& line) { out_ << line << '\n' << std::flush; }

  // The first way the session went otherwise wins; later ones are its consequences.
  void Fail(int line, const std::string& message) {
    if (failure_) return;
    failure_ = line > 0 ? "line " + std::to_string(line) + ": " + message : message;
  }
  bool failed() const { return failure_.has_value(); }
  const std::string& failure() const { return *failure_; }

 private:
  std::ostream& out_;
  std::optional<std::string> failure_;
};

}  // namespace pendra2::ui::replay
