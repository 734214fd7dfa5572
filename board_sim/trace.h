#pragma once
// The trace: one line per instruction or tune column the board ran, for tests, teachers and
// `pendra2-cli simulate`. Words are key=value so that scripts can pick them apart:
//   t=1500.3 addr=012 op=O step=4 led=1 out1=0 out2=0 ext=0000 a=0 b=0
// A tune column adds note=NAME (rest for 23); the stop adds a last line with stop=KEY.

#include <string>

#include "board_sim/board_sim.h"

namespace pendra2::board_sim {

// The step number to show for what ran (0: none); a tune's columns belong to its step.
int StepNumber(const BoardSim& board, int address);
int StepNumber(const BoardSim& board, const Executed& e);

std::string TraceLine(const Executed& e, const BoardSim& board, int step);
std::string StopLine(const BoardSim& board, Micros at);

// The extended outputs as the flowchart caption writes them: Bit4 first.
std::string ExtBits(uint8_t ext);

}  // namespace pendra2::board_sim
