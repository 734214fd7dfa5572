#pragma once
// Plays the queued `dialog` blocks on the real dialogs of a replayed session. Every modal
// dialog that opens is found by its object name (the template id); its controls by theirs
// (the control ids). The block runs on the real widgets from inside the dialog's own modal
// loop, so every field rule, refusal message and nested dialog runs as it does for a user.

#include <QObject>
#include <QPointer>
#include <string>
#include <vector>

#include "ui_common/replay/replay_context.h"

class QDialog;
class QWidget;

namespace pendra2::ui::replay {

// A dialog that shows progress and asks nothing (the transfer dialog) carries this property
// set to true; a replay leaves it alone instead of expecting a block for it.
inline constexpr char kReplayPassiveProperty[] = "pendra2ReplayPassive";

// Runs the event loop for `ms` milliseconds, as a user who leaves the program alone: timers,
// paints and board polls go on.
void RunEventsFor(int ms);

// A dialog's control as the transcript shows it: id and current text.
struct ShownControl {
  std::string id;
  std::string text;
};

// The edit, combo, spin and list controls of `dialog` that a user sees (a list by its chosen
// entry), in the order of their ids.
std::vector<ShownControl> ShownControls(const QDialog& dialog);

class DialogDriver final : public QObject {
 public:
  // Watches the whole application from now until destruction.
  explicit DialogDriver(ReplayContext& context);
  ~DialogDriver() override;
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Drive(const QPointer<QDialog>& dialog);
  // Runs one line of a block; false when the session went otherwise.
  bool RunStep(QDialog& dialog, const std::string& id, const DialogStep& step);

  ReplayContext& context_;
};

}  // namespace pendra2::ui::replay
