#include "cli/cli.h"

namespace pendra2::cli {

int TuneImage(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

int TuneDump(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

int TunePlay(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

int TuneWrite(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

}  // namespace pendra2::cli
