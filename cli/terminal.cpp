#include "cli/terminal.h"

#include <cstdio>
#include <iostream>
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace pendra2::cli {

bool IsTerminal(const std::ostream& stream) {
  FILE* file = &stream == &std::cout ? stdout : &stream == &std::cerr ? stderr : nullptr;
  if (file == nullptr) return false;
#if defined(_WIN32)
  return _isatty(_fileno(file)) != 0;
#else
  return isatty(fileno(file)) == 1;
#endif
}

}  // namespace pendra2::cli
