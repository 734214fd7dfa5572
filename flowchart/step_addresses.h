#pragma once
// Where each step of the compiled program lies in the board image: the numbers a trace gives
// the steps it ran, the step to light while an address runs, and where a step begins (what
// a breakpoint pauses before). Read from the program's tables after a recompute.

#include <array>
#include <bitset>
#include <cstdint>

#include "flowchart/flow_program.h"

namespace pendra2::flowchart {

struct StepAddresses {
  // The step whose code starts at each address, as a trace numbers it; 0 for none (the end
  // step's 'E' included, which a trace leaves unnumbered).
  std::array<int16_t, kImageBytes> traced{};
  // The step each address lies in, the end step's 'E' too; -1 for none.
  std::array<int16_t, kImageBytes> owner{};
  // Each step's first address; -1 for a step without code (the start).
  std::array<int16_t, kStepSlots> first{};
};

StepAddresses MapStepAddresses(const FlowProgram& program);

// The addresses to pause before for the marked steps.
std::bitset<kImageBytes> BreakpointAddresses(const StepAddresses& map,
                                             const std::bitset<kStepSlots>& marked);

}  // namespace pendra2::flowchart
