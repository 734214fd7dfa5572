#pragma once
// Pendra2's main window: two picture buttons that start the editors, a status text that the
// board poll keeps up to date, and the version box.

#include <QMainWindow>
#include <QTimer>
#include <optional>

#include "launcher/board_check.h"
#include "ui_common/board_worker.h"
#include "ui_common/program_starter.h"
#include "ui_common/qt_prompter.h"

class QLabel;
class QPushButton;

namespace pendra2::launcher {

class LauncherWindow final : public QMainWindow {
  Q_OBJECT

 public:
  // Idle: polling. Checking: inside the Stepcraft check (its message box included), no poll.
  // Closing: an editor was started or the program is ending.
  enum class State { Idle, Checking, Closing };

  LauncherWindow(ui::BoardWorker& board, interaction::Prompter& prompter,
                 ui::ProgramStarter& starter, QWidget* parent = nullptr);

  // Carries out a menu or button command by its identifier (104, 105, 2001, 2002, 2004).
  void RunCommand(int command);

  State state() const { return state_; }
  int pollCount() const { return pollCount_; }
  bool pollScheduled() const { return pollTimer_.isActive(); }
  // A poll asked of the board worker and not yet told.
  bool pollInFlight() const { return pollInFlight_; }
  // Set when the interface list could not be had: the program ends with this status.
  std::optional<int> endStatus() const { return endStatus_; }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenu();
  void BuildClientArea();
  void RestartPoll();
  void PollTick();
  void ShowPoll(PollOutcome outcome);
  void CheckedStepcraft(StepcraftGate gate);
  void StartChimecraft();
  void StartStepcraft();
  // Starts the editor and closes the launcher; when the start fails, says so and stays.
  void StartEditorAndClose(const char* program);
  void EndForUnavailableList();

  ui::BoardWorker& board_;
  interaction::Prompter& prompter_;
  ui::ProgramStarter& starter_;
  QTimer pollTimer_;
  State state_ = State::Idle;
  int pollCount_ = 0;
  bool pollInFlight_ = false;
  std::optional<int> endStatus_;
  QLabel* status_ = nullptr;
  QPushButton* chimecraftButton_ = nullptr;
  QPushButton* stepcraftButton_ = nullptr;
};

}  // namespace pendra2::launcher
