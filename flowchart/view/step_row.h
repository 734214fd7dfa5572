#pragma once
// What one flowchart row shows for a step, in the coordinates of a screen row whose
// origin is r = 0: the symbol, the caption and, for branching steps, the target number.
// The screen view and the printed pages place these same pieces.

#include <string>

#include "flowchart/listing.h"
#include "flowchart/screen_geometry.h"
#include "flowchart/step_record.h"
#include "interaction/draw_list.h"

namespace pendra2::flowchart::view {

struct RowPiece {
  std::string text;  // UTF-8; empty when there is nothing to draw
  interaction::Point at;
};

struct StepRow {
  std::string symbol;  // artwork name; empty when the step has no symbol
  RowPiece caption;
  RowPiece target;
};

// Branch, Goto, Compare and VarCompare: the steps that draw a line to their target.
bool IsJump(const StepRecord& step);

// The row for `step`; `highlighted` picks the _S twin of the symbol.
StepRow StepRowFor(const StepRecord& step, bool highlighted, const ShiftJisDecoder& decode);

// printf-style "%03d".
std::string ThreeDigits(int value);

}  // namespace pendra2::flowchart::view
