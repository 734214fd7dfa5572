#include "flowchart/step_blocks.h"

#include <algorithm>
#include <cstring>

#include "flowchart/edit_session.h"
#include "flowchart/listing.h"
#include "flowchart/recompute.h"

namespace pendra2::flowchart {
namespace {

using interaction::Prompt;
using interaction::PromptAnswer;
using interaction::PromptButtons;

constexpr uint8_t kMagic[4] = {'P', '2', 'S', 'T'};
constexpr uint16_t kVersion = 1;
constexpr std::size_t kHeaderBytes = 10;  // magic, version, copiedFrom, count
constexpr int kLargestImage = board_image::kImageBytes - 1;

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
int Get16(std::span<const uint8_t> in, std::size_t at) {
  return in[at] | (in[at + 1] << 8);
}

// Loop marks pair up inside the block, counted as the program nests them: no end before
// its start, no start left open.
bool LoopsWhole(std::span<const StepRecord> steps) {
  int open = 0;
  for (const StepRecord& step : steps) {
    if (step.Is(StepKind::LoopStart)) ++open;
    if (step.Is(StepKind::LoopEnd) && --open < 0) return false;
  }
  return open == 0;
}

// Whether a block may stand in a program: steps of the kinds a program holds between its
// Start and End.
bool KindsAllowed(std::span<const StepRecord> steps) {
  return std::all_of(steps.begin(), steps.end(), [](const StepRecord& step) {
    return step.kind >= static_cast<int32_t>(StepKind::Orgel) &&
           step.kind <= static_cast<int32_t>(StepKind::VarCompare);
  });
}

bool Refuse(interaction::Prompter& prompter, const char* text, const char* caption) {
  prompter.Ask(Prompt{text, caption, PromptButtons::Ok});
  return false;
}

}  // namespace

void SelectSteps(StepcraftState& state, int from, int to) {
  const int first = std::max(std::min(from, to), 1);
  const int last = std::min(std::max(from, to), state.program.count - 2);
  if (first > last) {
    ClearSelection(state);
    return;
  }
  state.selectFirst = first;
  state.selectLast = last;
  state.anchorStep = last;
}

void ClearSelection(StepcraftState& state) {
  state.selectFirst = state.selectLast = -1;
}

void SelectAll(StepcraftState& state) {
  SelectSteps(state, 1, state.program.count - 2);
}

bool HasSelection(const StepcraftState& state) {
  return state.selectFirst >= 1 && state.selectLast >= state.selectFirst &&
         state.selectLast <= state.program.count - 2;
}

std::optional<StepBlock> CopySelection(const StepcraftState& state,
                                       interaction::Prompter& prompter) {
  if (!HasSelection(state)) return std::nullopt;
  const auto first = state.program.steps.begin() + state.selectFirst;
  const std::span<const StepRecord> steps(first,
                                          first + (state.selectLast - state.selectFirst + 1));
  if (!LoopsWhole(steps)) {
    Refuse(prompter, kHalfLoopText, "コピー");
    return std::nullopt;
  }
  return StepBlock{state.selectFirst, {steps.begin(), steps.end()}};
}

std::optional<StepBlock> CutSelection(StepcraftState& state, interaction::Prompter& prompter) {
  std::optional<StepBlock> block = CopySelection(state, prompter);
  if (!block) return std::nullopt;
  FlowProgram& program = state.program;
  const int first = state.selectFirst;
  const int n = static_cast<int>(block->steps.size());
  for (int i = 0; i < n; ++i) {
    for (int s = first; s + 1 < program.count; ++s) program.steps[s] = program.steps[s + 1];
    ShiftTargetsAfterDelete(program, first);
    program.count -= 1;
  }
  MoveMarks(state.breakpoints, first, -n);
  ClearSelection(state);
  state.anchorStep = first - 1;
  program.modified = true;
  Recompute(program);
  return block;
}

bool PasteBlock(StepcraftState& state, const StepBlock& block, interaction::Prompter& prompter) {
  FlowProgram& program = state.program;
  const int n = static_cast<int>(block.steps.size());
  if (n == 0) return false;
  if (program.count + n > kMaxSteps) {
    return Refuse(prompter, kStepLimitText, kStepLimitCaption);
  }
  const int anchor = std::clamp(state.anchorStep, 0, program.count - 1);
  const int p = anchor == program.count - 1 ? anchor - 1 : anchor;

  FlowProgram after = program;
  for (int s = after.count - 1; s >= p + 1; --s) after.steps[s + n] = after.steps[s];
  after.count += n;
  // Steps that jump past the insertion move on with their targets, as after an insertion.
  for (int i = 0; i < n; ++i) ShiftTargetsAfterInsert(after, p);
  const int last = block.copiedFrom + n - 1;
  for (int i = 0; i < n; ++i) {
    StepRecord step = block.steps[static_cast<std::size_t>(i)];
    if (IsJumpKind(step)) {
      if (step.target >= block.copiedFrom && step.target <= last) {
        step.target = p + 1 + (step.target - block.copiedFrom);  // inside: follows the block
      } else if (step.target >= p + 1) {
        step.target += n;  // outside: the same step, moved on by the paste
      }
      step.target = std::clamp(step.target, int32_t{1}, after.count - 1);
    }
    after.steps[static_cast<std::size_t>(p) + 1 + static_cast<std::size_t>(i)] = step;
  }
  Recompute(after);
  const bool tooDeep = std::any_of(after.depthAfter.begin(), after.depthAfter.begin() + after.count,
                                   [](int32_t d) { return d > kLoopDepthLimit; });
  if (tooDeep) return Refuse(prompter, kLoopDepthText, "貼り付け");
  if (after.imageSize > kLargestImage) {
    return Refuse(prompter, "データが５１２バイトを越すので貼り付けられません。", "貼り付け");
  }
  const std::string what = n == 1 ? "1個のステップ" : std::to_string(n) + "個のステップ";
  if (prompter.Ask(Prompt{"「" + what + "」を貼り付けます", "貼り付け", PromptButtons::OkCancel}) !=
      PromptAnswer::Ok) {
    return false;
  }
  after.modified = true;
  program = after;
  MoveMarks(state.breakpoints, p + 1, n);
  SelectSteps(state, p + 1, p + n);
  return true;
}

std::vector<uint8_t> EncodeBlock(const StepBlock& block) {
  std::vector<uint8_t> out(kMagic, kMagic + 4);
  Put16(out, kVersion);
  Put16(out, static_cast<uint32_t>(block.copiedFrom));
  Put16(out, static_cast<uint32_t>(block.steps.size()));
  const std::size_t at = out.size();
  out.resize(at + block.steps.size() * sizeof(StepRecord));
  std::memcpy(out.data() + at, block.steps.data(), block.steps.size() * sizeof(StepRecord));
  return out;
}

std::optional<StepBlock> DecodeBlock(std::span<const uint8_t> bytes) {
  if (bytes.size() < kHeaderBytes || !std::equal(kMagic, kMagic + 4, bytes.begin()) ||
      Get16(bytes, 4) != kVersion) {
    return std::nullopt;
  }
  const int count = Get16(bytes, 8);
  if (count < 1 || count > kMaxSteps - 2 ||
      bytes.size() != kHeaderBytes + static_cast<std::size_t>(count) * sizeof(StepRecord)) {
    return std::nullopt;
  }
  StepBlock block{Get16(bytes, 6), std::vector<StepRecord>(static_cast<std::size_t>(count))};
  std::memcpy(block.steps.data(), bytes.data() + kHeaderBytes,
              block.steps.size() * sizeof(StepRecord));
  if (!KindsAllowed(block.steps) || !LoopsWhole(block.steps)) return std::nullopt;
  return block;
}

std::string BlockListing(const StepBlock& block, const ShiftJisDecoder& decode) {
  std::string text;
  for (std::size_t i = 0; i < block.steps.size(); ++i) {
    text += ListingLine(block.copiedFrom + static_cast<int>(i), block.steps[i], Notation::Japanese,
                        decode);
    text += '\n';
  }
  return text;
}

}  // namespace pendra2::flowchart
