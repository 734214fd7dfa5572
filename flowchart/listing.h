#pragma once
// Texts drawn on symbols, in the listing and on paper. All results are UTF-8, except
// TuneDisplayName, which works on the Shift JIS bytes the step stores.

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "flowchart/listing_templates.h"
#include "flowchart/step_record.h"

namespace pendra2::flowchart {

// Turns Shift JIS bytes into UTF-8. The core has no code-page tables of its own: the
// programs pass Qt's decoder, tests may pass their own.
using ShiftJisDecoder = std::function<std::string(std::string_view sjis)>;

// The stored tune path without folders, cut to 12 bytes; Shift JIS bytes in and out.
std::string TuneDisplayName(std::string_view sjisPath);
// The NUL-terminated path held in code bytes 512..767.
std::string_view StoredTunePath(const StepRecord& step);

// The short caption drawn on a step's symbol; empty when the step has none.
std::string StepCaption(const StepRecord& step, const ShiftJisDecoder& decode);

// The template row a step is listed with, or -1 when it has none.
int ListingRow(const StepRecord& step);

// The bit text of an extended output: bits 0..3 of `channel` as "0"/"1", bit 0 first.
std::string OutputBitsText(int32_t channel);

// One listing line for step number n; empty when the step has no template row.
std::string ListingLine(int n, const StepRecord& step, Notation notation,
                        const ShiftJisDecoder& decode);

}  // namespace pendra2::flowchart
