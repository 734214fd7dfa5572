#include "cli/cli.h"

namespace pendra2::cli {

int FlowImage(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

int FlowDump(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

int FlowListing(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

}  // namespace pendra2::cli
