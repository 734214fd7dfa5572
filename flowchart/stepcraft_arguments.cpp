#include "flowchart/stepcraft_arguments.h"

namespace pendra2::flowchart {

int32_t ViewModeFromArgument(std::string_view argument) {
  if (argument.size() < 2) return 1;
  switch (argument[1]) {
    case 'B':
      return 4;
    case 'F':
      return 0;
    case 'J':
      return 5;
    default:
      return 1;
  }
}

StepcraftArguments ParseStepcraftArguments(std::span<const std::string> arguments) {
  StepcraftArguments parsed;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    if (arg.size() == 2 && (arg[0] == '-' || arg[0] == '/')) {
      // The view-mode switch, as the program has always read it: its second character.
      parsed.viewMode = ViewModeFromArgument(arg);
    } else if (arg.starts_with("--")) {
      parsed.error = "unknown option " + arg;
      return parsed;
    } else if (parsed.file) {
      parsed.error = "only one file can be opened at start";
      return parsed;
    } else {
      parsed.file = arg;
    }
  }
  return parsed;
}

}  // namespace pendra2::flowchart
