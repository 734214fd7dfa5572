#pragma once
// pendra2-cli: every command is a function over its arguments (those after the command
// name) and two output streams, so tests can run commands in-process.

#include <ostream>
#include <span>
#include <string>

namespace pendra2::cli {

// Exit statuses are a contract with scripts and other tools.
enum Exit : int {
  kDone = 0,
  kUsage = 1,
  kFileError = 2,  // missing, unreadable or refused file
  kTooLarge = 3,   // program or tune too large for the board
  kNoBoard = 4,
  kBoardFailed = 5,  // no answer, or refused (generation check)
};

using Args = std::span<const std::string>;

struct Streams {
  std::ostream& out;
  std::ostream& err;
};

// The command line as main() sees it, without the program name.
int Run(Args args, Streams io);

// flow_commands.cpp
int FlowImage(Args args, Streams io);
int FlowDump(Args args, Streams io);
int FlowListing(Args args, Streams io);

// tune_commands.cpp
int TuneImage(Args args, Streams io);
int TuneDump(Args args, Streams io);
int TunePlay(Args args, Streams io);
int TuneWrite(Args args, Streams io);

// board_commands.cpp
int Boards(Args args, Streams io);
int BoardInfo(Args args, Streams io);
int Write(Args args, Streams io);  // .flc here; .olg goes on to TuneWrite
int RunBoard(Args args, Streams io);
int StopBoard(Args args, Streams io);
int Auto(Args args, Streams io);
int ReadInput(Args args, Streams io);
int Note(Args args, Streams io);

// view_commands.cpp
int Render(Args args, Streams io);
int Pdf(Args args, Streams io);

// tune_view_commands.cpp: render and pdf of an .olg file (by its magic or its extension)
bool ViewsTune(Args args);
int RenderTune(Args args, Streams io);
int PdfTune(Args args, Streams io);

}  // namespace pendra2::cli
