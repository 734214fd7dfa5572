#pragma once
// Consecutive steps as the clipboard carries them: selected, copied, cut and pasted. A
// block keeps its loops whole and remembers where it was copied from, so that a jump to a
// step inside it follows the block to where it is pasted, while a jump out of it keeps
// naming the step it named.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "flowchart/listing.h"
#include "flowchart/stepcraft_state.h"
#include "interaction/prompter.h"

namespace pendra2::flowchart {

inline constexpr const char* kStepsMimeType = "application/x-pendra2-steps";

inline constexpr const char* kHalfLoopText = "「繰り返し」の始めと終わりを両方えらんでください。";
inline constexpr const char* kNothingToPasteText = "貼り付けられるステップがありません。";

struct StepBlock {
  int32_t copiedFrom = 1;  // the index of the first step where it was copied
  std::vector<StepRecord> steps;
};

// Selects the steps between rows `from` and `to` (either order), Start and End left out;
// nothing when that leaves none.
void SelectSteps(StepcraftState& state, int from, int to);
void ClearSelection(StepcraftState& state);
// Every step between Start and End.
void SelectAll(StepcraftState& state);
bool HasSelection(const StepcraftState& state);

// The selected steps; nothing, after telling the user, when the selection holds one mark
// of a loop without the other.
std::optional<StepBlock> CopySelection(const StepcraftState& state,
                                       interaction::Prompter& prompter);
// Copies, then removes the selected steps as deleting them would (jumps to a later step
// renumbered); nothing removed when the copy is refused.
std::optional<StepBlock> CutSelection(StepcraftState& state, interaction::Prompter& prompter);

// Inserts the block after the anchor row (before End when that is End), asked like an
// insertion and refused as one: the step limit, loops nested deeper than three, an image
// larger than the board holds. The pasted steps end up selected. False when nothing
// changed.
bool PasteBlock(StepcraftState& state, const StepBlock& block, interaction::Prompter& prompter);

// The clipboard's bytes: a small versioned header and the records as a file holds them.
std::vector<uint8_t> EncodeBlock(const StepBlock& block);
// Nothing for bytes that are no block (damaged, another version, a start or end inside,
// more steps than a program holds).
std::optional<StepBlock> DecodeBlock(std::span<const uint8_t> bytes);
// The steps as the listing shows them, a line each, for programs that take only text.
std::string BlockListing(const StepBlock& block, const ShiftJisDecoder& decode);

}  // namespace pendra2::flowchart
