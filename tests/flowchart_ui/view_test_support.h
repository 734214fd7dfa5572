#pragma once
// Building small programs and reading a draw list back, for the view and print tests.

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "flowchart/flow_program.h"
#include "flowchart/listing.h"
#include "ui_common/draw_list.h"

namespace pendra2::flowchart_ui::testing {

using flowchart::FlowProgram;
using flowchart::StepKind;
using flowchart::StepRecord;

inline StepRecord Step(StepKind kind, int32_t target = 0, int32_t value = 0, int32_t op = 0,
                       int32_t channel = 0) {
  StepRecord s;
  s.kind = static_cast<int32_t>(kind);
  s.target = target;
  s.value = value;
  s.op = op;
  s.channel = channel;
  return s;
}

// Start, then `body`, then End, or just what is given when `bare`.
inline std::unique_ptr<FlowProgram> Program(const std::vector<StepRecord>& body,
                                            bool bare = false) {
  auto p = std::make_unique<FlowProgram>();
  int n = 0;
  if (!bare) p->steps[n++] = Step(StepKind::Start);
  for (const auto& s : body) p->steps[n++] = s;
  if (!bare) p->steps[n++] = Step(StepKind::End);
  p->count = n;
  return p;
}

// `total` steps: Start, one-second waits, End.
inline std::unique_ptr<FlowProgram> WaitProgram(int total) {
  std::vector<StepRecord> body(static_cast<std::size_t>(total - 2), Step(StepKind::Wait, 0, 2));
  return Program(body);
}

inline std::string Ascii(std::string_view sjis) {
  return std::string(sjis);
}

inline std::vector<ui::TextItem> Texts(const ui::DrawList& list) {
  std::vector<ui::TextItem> out;
  for (const auto& item : list.items) {
    if (const auto* t = std::get_if<ui::TextItem>(&item)) out.push_back(*t);
  }
  return out;
}

inline std::vector<ui::TextItem> TextsSaying(const ui::DrawList& list, std::string_view text) {
  auto all = Texts(list);
  std::erase_if(all, [&](const ui::TextItem& t) { return t.text != text; });
  return all;
}

inline std::vector<ui::BitmapItem> Bitmaps(const ui::DrawList& list, std::string_view name = {}) {
  std::vector<ui::BitmapItem> out;
  for (const auto& item : list.items) {
    const auto* b = std::get_if<ui::BitmapItem>(&item);
    if (b && (name.empty() || b->name == name)) out.push_back(*b);
  }
  return out;
}

inline std::vector<ui::Rect> Fills(const ui::DrawList& list) {
  std::vector<ui::Rect> out;
  for (const auto& item : list.items) {
    if (const auto* f = std::get_if<ui::FillItem>(&item)) out.push_back(f->rect);
  }
  return out;
}

inline std::vector<ui::LineItem> Lines(const ui::DrawList& list) {
  std::vector<ui::LineItem> out;
  for (const auto& item : list.items) {
    if (const auto* l = std::get_if<ui::LineItem>(&item)) out.push_back(*l);
  }
  return out;
}

template <typename T>
bool Contains(const std::vector<T>& all, const T& wanted) {
  return std::find(all.begin(), all.end(), wanted) != all.end();
}

}  // namespace pendra2::flowchart_ui::testing
