#pragma once
// The byte copy each step keeps in `code`. For Wait (and Orgel, whose tune dialog writes its
// own) these are the bytes the board receives; for the other kinds the copy is informational
// and only kept so files stay as the board tools have always written them.

#include <string_view>

#include "flowchart/step_record.h"

namespace pendra2::flowchart {

// Largest wait (in half seconds) whose silent tune still fits in `code` after 'T', 121.
inline constexpr int32_t kMaxWaitValue = static_cast<int32_t>(kStepCodeSize) - 2;

// 'T', 121, then one rest per half second, and size = value + 2. A value that does not fit
// in `code` is bounded to 0..kMaxWaitValue first, so the step never claims bytes it lacks.
void WriteWaitCode(StepRecord& step);
void WriteLoopStartCode(StepRecord& step);
void WriteLoopEndCode(StepRecord& step);
// The record keeps 'B' for "at or above" and 'b' for "below": the opposite of the image.
void WriteBranchCode(StepRecord& step);
// Byte 2 is left as it is.
void WriteOutputCode(StepRecord& step);
void WriteGotoCode(StepRecord& step);
void WriteExtOutputCode(StepRecord& step);
void WriteCompareCode(StepRecord& step);
// 'A' for variable A (channel 0), 'a' for variable B.
void WriteVariableCode(StepRecord& step);
void WriteVarCompareCode(StepRecord& step);

// The copy for the step's kind, as the editor writes it after an element dialog; Orgel,
// Start, End and unknown kinds are left alone.
void WriteStepCode(StepRecord& step);

// Stores a Shift JIS tune path, NUL-terminated, in code bytes 512..767. Refuses (returns
// false, step unchanged) a path of more than 255 bytes or one holding a NUL.
bool StoreTunePath(StepRecord& step, std::string_view sjisPath);

}  // namespace pendra2::flowchart
