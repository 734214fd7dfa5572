#pragma once
// One flowchart step exactly as memory and .flc files hold it.

#include <array>
#include <cstddef>
#include <cstdint>

namespace pendra2::flowchart {

enum class StepKind : int32_t {
  Start = 0,
  Orgel = 1,
  Wait = 2,
  LoopStart = 3,
  LoopEnd = 4,
  Branch = 5,
  Output = 6,
  Goto = 7,
  ExtOutput = 8,
  Compare = 9,
  Variable = 10,
  VarCompare = 11,
  End = 99,
};

inline constexpr std::size_t kStepCodeSize = 768;
// Orgel steps keep the tune's file path (Shift JIS, NUL-terminated) behind the tune bytes.
inline constexpr std::size_t kTunePathOffset = 512;
inline constexpr std::size_t kTunePathCapacity = kStepCodeSize - kTunePathOffset;

// The fields stay plain int32 so that any bytes a file holds survive a load and a save;
// `kind` is compared against StepKind values rather than trusted to be one.
struct StepRecord {
  int32_t kind = 0;
  std::array<uint8_t, kStepCodeSize> code{};
  int32_t loopCount = 0;
  int32_t depth = 0;
  int32_t value = 0;
  int32_t target = 0;
  int32_t size = 0;
  int32_t op = 0;
  int32_t channel = 0;

  StepKind Kind() const { return static_cast<StepKind>(kind); }
  bool Is(StepKind k) const { return kind == static_cast<int32_t>(k); }
};

static_assert(sizeof(StepRecord) == 800, "a step record is 800 bytes in memory and on disk");
static_assert(offsetof(StepRecord, kind) == 0);
static_assert(offsetof(StepRecord, code) == 4);
static_assert(offsetof(StepRecord, loopCount) == 772);
static_assert(offsetof(StepRecord, depth) == 776);
static_assert(offsetof(StepRecord, value) == 780);
static_assert(offsetof(StepRecord, target) == 784);
static_assert(offsetof(StepRecord, size) == 788);
static_assert(offsetof(StepRecord, op) == 792);
static_assert(offsetof(StepRecord, channel) == 796);

}  // namespace pendra2::flowchart
