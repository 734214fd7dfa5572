#pragma once
// `--replay FILE` on an editor's command line, taken out before the program reads the rest
// (Stepcraft's view-mode argument still works beside it).

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pendra2::ui::replay {

struct ReplayArgument {
  std::optional<std::string> scriptPath;  // FILE, or "-" for standard input
  std::vector<std::string> remaining;     // every other argument, in order
  std::string usageError;                 // set: the program ends with kReplayUsage
};

// `arguments` without the program's own name. Takes `--replay FILE` and `--replay=FILE`.
ReplayArgument TakeReplayArgument(std::span<const std::string> arguments);
ReplayArgument TakeReplayArgument(int argc, const char* const* argv);

// A replay shows no window on the user's screen: unless the caller chose a platform, the
// session runs on the offscreen one. Call before the QApplication is made.
void UseOffscreenPlatformForReplay(const ReplayArgument& argument);

}  // namespace pendra2::ui::replay
