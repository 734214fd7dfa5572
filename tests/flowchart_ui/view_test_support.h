#pragma once
// Small programs and draw-list readers for the view, print and dialog tests.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "flowchart/flow_program.h"
#include "interaction/draw_list.h"

namespace pendra2::flowchart_ui::testing {

using flowchart::FlowProgram;
using flowchart::StepKind;
using flowchart::StepRecord;
using interaction::Point;
using interaction::Rect;

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

// The items of type T in `list`, in drawing order.
template <typename T>
std::vector<T> Items(const interaction::DrawList& list) {
  std::vector<T> out;
  for (const auto& item : list.items) {
    if (const T* t = std::get_if<T>(&item)) out.push_back(*t);
  }
  return out;
}

// All texts, or those saying `text`.
inline std::vector<interaction::TextItem> Texts(const interaction::DrawList& list,
                                                std::string_view text = {}) {
  auto all = Items<interaction::TextItem>(list);
  std::erase_if(all, [&](const auto& t) { return !text.empty() && t.text != text; });
  return all;
}

// All bitmaps, or those of the artwork `name`.
inline std::vector<interaction::BitmapItem> Bitmaps(const interaction::DrawList& list,
                                                    std::string_view name = {}) {
  auto all = Items<interaction::BitmapItem>(list);
  std::erase_if(all, [&](const auto& b) { return !name.empty() && b.name != name; });
  return all;
}

}  // namespace pendra2::flowchart_ui::testing
