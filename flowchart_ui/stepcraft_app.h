#pragma once
// Stepcraft from its first look for the board to the end of its message loop, for a user or
// for a replayed session.

#include <iosfwd>

#include "ui_common/board_worker.h"
#include "ui_common/program_starter.h"
#include "ui_common/replay/replay_argument.h"

namespace pendra2::flowchart_ui {

// Exit status of a command line that cannot be used.
inline constexpr int kStepcraftUsage = 1;

// Runs Stepcraft on the board worker `board` with its command line (`--replay FILE` already
// taken out). `out` and `err` carry a replayed session's transcript and complaints.
int RunStepcraft(const ui::replay::ReplayArgument& command, ui::BoardWorker& board,
                 ui::ProgramStarter& starter, std::ostream& out, std::ostream& err);

}  // namespace pendra2::flowchart_ui
