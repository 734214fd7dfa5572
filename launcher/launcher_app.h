#pragma once
// Pendra2 from its first look for the board to the end of its message loop.

#include <functional>

#include "device/board.h"
#include "launcher/launcher_window.h"
#include "ui_common/program_starter.h"
#include "ui_common/qt_prompter.h"

namespace pendra2::launcher {

// Looks for the board once before any window exists, then shows the launcher window and
// runs the message loop until it closes. Returns the program's exit status. `shown` is
// called with the window once it is on screen (main makes it the message boxes' owner).
int RunLauncher(ui::BoardWorker& board, interaction::Prompter& prompter,
                ui::ProgramStarter& starter,
                const std::function<void(LauncherWindow&)>& shown = {});

}  // namespace pendra2::launcher
