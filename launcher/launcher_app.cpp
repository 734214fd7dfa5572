#include "launcher/launcher_app.h"

#include <QApplication>

#include "ui_common/hid_failure.h"

namespace pendra2::launcher {

int RunLauncher(ui::BoardWorker& board, interaction::Prompter& prompter,
                ui::ProgramStarter& starter, const std::function<void(LauncherWindow&)>& shown) {
  // No window exists yet, so this message has no owner.
  if (!board.ListAvailable()) return ui::ReportHidFailure(prompter);
  board.Discover();

  LauncherWindow window(board, prompter, starter);
  window.show();
  if (shown) shown(window);
  const int status = QApplication::exec();
  return window.endStatus().value_or(status);
}

}  // namespace pendra2::launcher
