#pragma once
// The commands behind Run(): each takes the arguments after its name. image, dump and write
// take either document kind; their per-kind halves get the input already read.

#include <string>

#include "cli/cli.h"
#include "cli/documents.h"
#include "cli/output_file.h"

namespace pendra2::cli {

// run.cpp
int Image(Args args, Streams io);
int Dump(Args args, Streams io);

// flow_commands.cpp
int FlowImage(const InputFile& file, const ImageOptions& options, Streams io);
int FlowDump(const InputFile& file, Streams io);
int Listing(Args args, Streams io);

// tune_commands.cpp
int TuneImage(const InputFile& file, const ImageOptions& options, Streams io);
int TuneDump(const InputFile& file, Streams io);
int Play(Args args, Streams io);

// board_commands.cpp
int Boards(Args args, Streams io);
int BoardInfo(Args args, Streams io);
int Write(Args args, Streams io);
int RunBoard(Args args, Streams io);
int StopBoard(Args args, Streams io);
int Auto(Args args, Streams io);
int ReadInput(Args args, Streams io);
int Note(Args args, Streams io);

// Where `write` puts the image: the board named (or the one attached), or every board.
struct WriteTarget {
  std::string board;  // --board; empty: the one attached
  bool all = false;   // --all
  bool run = false;   // --run: start each board that took the image
};

// tune_commands.cpp: write for a tune, after the size guard
int TuneWrite(const InputFile& file, const WriteTarget& target, Streams io);

// view_commands.cpp: pictures of either document kind
int Render(Args args, Streams io);
int Pdf(Args args, Streams io);

// exchange_commands.cpp: tunes from MIDI files, and out to MIDI and WAV
int ImportMidi(Args args, Streams io);
int Export(Args args, Streams io);

// simulate_command.cpp
int Simulate(Args args, Streams io);

}  // namespace pendra2::cli
