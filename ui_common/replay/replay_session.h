#pragma once
// A replayed session: the program starts as usual, but takes its input from a script and
// prints what the user would have seen. The program hands the session's prompter and
// choosers to its state in place of the Qt ones, implements ReplayTarget on its windows, and
// runs the script; the session does the rest.
//
//   const auto parsed = replay::LoadReplayScript(path);       // before any window opens
//   if (!parsed.ok()) { std::cerr << parsed.error << '\n'; return replay::kReplayUnreadable; }
//   replay::ReplaySession session(std::cout, std::cerr);
//   ... build the windows with session.prompter(), session.fileChooser(), ...
//   session.WatchTitle(documentWindow);
//   return session.RunInEventLoop(target, *parsed.script);

#include <QObject>
#include <QPointer>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "ui_common/replay/dialog_driver.h"
#include "ui_common/replay/replay_answers.h"
#include "ui_common/replay/replay_context.h"
#include "ui_common/replay/replay_script.h"

class QWidget;

namespace pendra2::ui::replay {

// What each program offers the replay: its commands, its drop-down lists, its scroll bar and
// the window that clicks and moves go to.
class ReplayTarget {
 public:
  virtual ~ReplayTarget() = default;
  // Sends command `id` to the window that handles it, whether or not a visible control sends
  // it; false when no window of the program knows the command.
  virtual bool Command(int id) = 0;
  // The user choosing entry `index` of list `listId`, even when it is hidden or already
  // chosen: the list's change handling runs. False when there is no such list or entry.
  virtual bool Select(int listId, int index) = 0;
  // The document window's scroll bar; `position` only for ScrollKind::Thumb, unclamped.
  virtual void Scroll(ScrollKind kind, int position) = 0;
  // The user dragging slider `id` to `value`; the reason when the program has no such
  // slider or the value lies outside its range, else nothing.
  virtual std::optional<std::string> Slide(int id, int value) {
    (void)value;
    return "the program has no slider " + std::to_string(id);
  }
  // The flowchart or score window: `click` and `move` reach it at client coordinates, never
  // a child control that lies there. Moves arrive only with mouse tracking on, as for a
  // real mouse.
  virtual QWidget* PointerWindow() = 0;
};

class ReplaySession final : public QObject {
 public:
  // Needs the QApplication; from now on every modal dialog is driven by the script.
  ReplaySession(std::ostream& out, std::ostream& err);
  ~ReplaySession() override;
  ReplaySession(const ReplaySession&) = delete;
  ReplaySession& operator=(const ReplaySession&) = delete;

  interaction::Prompter& prompter() { return prompter_; }
  interaction::FileChooser& fileChooser() { return fileChooser_; }
  PrintChooser& printChooser() { return printChooser_; }

  // Writes `title "…"` when `title` differs from the caption last reported for `window`
  // (nullptr: the program has a single caption it reports itself).
  void ReportTitle(const QString& title, const QObject* window = nullptr);
  // Reports every later change of `window`'s caption.
  void WatchTitle(QWidget* window);
  // What tells whether the program's board operations are still under way (its board
  // worker); each line waits for them first.
  void SetBoardBusy(std::function<bool()> busy) { context_.boardBusy = std::move(busy); }
  // A line of the program's own for the transcript (what its simulation ran).
  void Tell(const std::string& line) { context_.Print(line); }

  // Runs every line in order. Returns kReplayDone, or kReplayWentOtherwise with the reason
  // written to `err`; a line that runs into a failure ends the session after it.
  int Run(ReplayTarget& target, const ReplayScript& script);
  // Run from inside the application's event loop, which ends with it; for main(), so that
  // everything the program leaves to the loop (deferred deletions too) happens as usual.
  int RunInEventLoop(ReplayTarget& target, const ReplayScript& script);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RunLine(ReplayTarget& target, const ScriptLine& line);
  void FailOnLeftovers();

  std::ostream& err_;
  ReplayContext context_;
  ReplayPrompter prompter_{context_};
  ReplayFileChooser fileChooser_{context_};
  ReplayPrintChooser printChooser_{context_};
  DialogDriver driver_{context_};
  std::map<const QObject*, QString> titles_;
};

}  // namespace pendra2::ui::replay
