#include "cli/cli.h"

namespace pendra2::cli {

int Render(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

int Pdf(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

}  // namespace pendra2::cli
