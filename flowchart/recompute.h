#pragma once

#include "flowchart/flow_program.h"

namespace pendra2::flowchart {

// A fresh program: Start and End, image all 0xFF, counters cleared. Slots 2..255 keep
// whatever they held (they are saved as they are).
void NewProgram(FlowProgram& program);

// Derives sizes, loop depths, depthAfter, endAddress and imageSize, then compiles the image.
// Returns false (image left as it was, imageSize showing the oversize total) when the steps
// need more than 511 bytes.
bool Recompute(FlowProgram& program);

// Builds the 512-byte image from the step table; only Recompute calls it.
void CompileImage(FlowProgram& program);

}  // namespace pendra2::flowchart
