#include "ui_common/replay/replay_argument.h"

#include <QByteArray>
#include <QtGlobal>

namespace pendra2::ui::replay {

ReplayArgument TakeReplayArgument(std::span<const std::string> arguments) {
  static constexpr std::string_view kOption = "--replay";
  ReplayArgument taken;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::optional<std::string> path;
    if (argument == kOption) {
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
        taken.usageError = "--replay needs a script file (or - for standard input)";
        return taken;
      }
      path = arguments[++i];
    } else if (argument.starts_with(std::string(kOption) + "=")) {
      path = argument.substr(kOption.size() + 1);
      if (path->empty()) {
        taken.usageError = "--replay needs a script file (or - for standard input)";
        return taken;
      }
    } else {
      taken.remaining.push_back(argument);
      continue;
    }
    if (taken.scriptPath) {
      taken.usageError = "--replay may be given only once";
      return taken;
    }
    taken.scriptPath = std::move(path);
  }
  return taken;
}

ReplayArgument TakeReplayArgument(int argc, const char* const* argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return TakeReplayArgument(arguments);
}

void UseOffscreenPlatformForReplay(const ReplayArgument& argument) {
  if (argument.scriptPath && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
}

}  // namespace pendra2::ui::replay
