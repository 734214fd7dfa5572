#pragma once
// `write FILE --all`: the image into every board attached, all at once, a line for each
// board as it finishes and a summary; a classroom's boards prepared in one go.

#include "cli/cli.h"
#include "cli/documents.h"
#include "flowchart/flow_program.h"
#include "melody/melody_state.h"

namespace pendra2::cli {

// The program (loaded and past its size guard) into every board, each asked for its
// generation first, as a single write does. kDone only when every board took it.
int WriteAll(const InputFile& file, const flowchart::FlowProgram& program, bool run, Streams io);
// The tune (normalised, past its size guard) into every board.
int WriteAll(const InputFile& file, const melody::MelodyState& tune, bool run, Streams io);

}  // namespace pendra2::cli
