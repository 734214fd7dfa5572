#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/qt_messages.h"

int main(int argc, char** argv) {
  qInstallMessageHandler(pendra2::cli::QuietQtMessages);
  std::vector<std::string> args(argv + 1, argv + argc);
  return pendra2::cli::Run(args, {std::cout, std::cerr});
}
