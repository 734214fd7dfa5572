#pragma once
// Whether one of the command's streams is the process's own terminal: progress lines are
// for a person watching, and raw image bytes must not go to a screen.

#include <ostream>

namespace pendra2::cli {

// False for any stream other than std::cout and std::cerr (tests pass string streams).
bool IsTerminal(const std::ostream& stream);

}  // namespace pendra2::cli
