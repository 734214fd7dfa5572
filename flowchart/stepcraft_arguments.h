#pragma once
// Stepcraft's command line besides `--replay FILE`: the view-mode argument ("-F", "-B", "-J";
// its second character counts) and a .flc file to open (a file manager's double-click).

#include <optional>
#include <span>
#include <string>

namespace pendra2::flowchart {

struct StepcraftArguments {
  int32_t viewMode = 1;
  std::optional<std::string> file;
  std::string error;  // a usage error, empty when the line is fine
};

// The view mode a view-mode argument's second character chooses: 'B' 4, 'F' 0, 'J' 5, anything
// else (an empty argument too) 1.
int32_t ViewModeFromArgument(std::string_view argument);

// `arguments` without the program's own name and without `--replay FILE`.
StepcraftArguments ParseStepcraftArguments(std::span<const std::string> arguments);

}  // namespace pendra2::flowchart
