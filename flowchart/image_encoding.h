#pragma once
// How each step turns into board image bytes: shared by Recompute (which counts them) and
// CompileImage (which writes them), so the two can never disagree.

#include "flowchart/flow_program.h"

namespace pendra2::flowchart {

// The number of image bytes the step compiles to. Orgel and Wait copy their stored size,
// bounded to what `code` holds.
int32_t EncodedSize(const StepRecord& step);

// The step count bounded to the table, so a damaged count can never index past it.
int StepsInTable(const FlowProgram& program);

}  // namespace pendra2::flowchart
