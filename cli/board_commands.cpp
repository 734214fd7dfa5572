#include "cli/cli.h"

namespace pendra2::cli {

int Boards(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

int BoardInfo(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

int Write(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

int RunBoard(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

int StopBoard(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

int Auto(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

int ReadInput(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

int Note(Args, Streams io) {
  io.err << "pendra2-cli: this command is not available yet\n";
  return kUsage;
}

}  // namespace pendra2::cli
