#pragma once
// Small programs and draw-list readers for the view, print and dialog tests.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "flowchart/flow_program.h"
#include "interaction/draw_list.h"
#include "support/draw_items.h"

namespace pendra2::flowchart::view::testing {

using interaction::Point;
using interaction::Rect;
using pendra2::testing::Bitmaps;
using pendra2::testing::Items;
using pendra2::testing::Texts;

inline StepRecord Step(StepKind k, int32_t target = 0, int32_t v = 0, int32_t op = 0,
                       int32_t ch = 0) {
  return {.kind = static_cast<int32_t>(k), .value = v, .target = target, .op = op, .channel = ch};
}

// Start, `body`, End.
inline std::unique_ptr<FlowProgram> Program(const std::vector<StepRecord>& body) {
  auto p = std::make_unique<FlowProgram>();
  p->count = 0;
  p->steps[p->count++] = Step(StepKind::Start);
  for (const auto& s : body) p->steps[p->count++] = s;
  p->steps[p->count++] = Step(StepKind::End);
  return p;
}

// `total` steps: Start, one-second waits, End.
inline std::unique_ptr<FlowProgram> WaitProgram(int total) {
  return Program(std::vector<StepRecord>(total - 2, Step(StepKind::Wait, 0, 2)));
}

// Texts stay as they are: the tests' captions are plain ASCII or UTF-8 already.
inline std::string Ascii(std::string_view sjis) {
  return std::string(sjis);
}

}  // namespace pendra2::flowchart::view::testing
