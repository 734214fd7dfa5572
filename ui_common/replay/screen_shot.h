#pragma once
// Pictures of a replayed session, so that the guide's screenshots come from the programs
// themselves and stay current with one command.

#include <optional>
#include <string>

namespace pendra2::ui::replay {

// Saves what the user sees as a PNG at `path`: the program's visible windows, cut to the
// smallest rectangle holding them, or the whole screen. On a real display (Xvfb too) the
// screen itself is read, window frames and other programs' windows included; offscreen, the
// windows are painted onto a plain desktop at their places. Returns why it failed, if it did.
std::optional<std::string> TakeScreenShot(const std::string& path, bool wholeScreen);

}  // namespace pendra2::ui::replay
