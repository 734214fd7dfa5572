#pragma once
// Chimecraft from its first look for the board to the end of its message loop.

#include <functional>
#include <optional>
#include <string>

#include "melody/melody_state.h"
#include "melody_ui/chime_window.h"

namespace pendra2::melody_ui {

// Looks for the board once before any window exists, shows the main window (opening
// `startFile` when given), calls `shown` with it and runs the message loop until it
// closes. Returns the exit status.
int RunChimecraft(melody::MelodyState& state, ChimeServices services,
                  const std::optional<std::string>& startFile,
                  const std::function<int(ChimeWindow&)>& shown = {});

}  // namespace pendra2::melody_ui
