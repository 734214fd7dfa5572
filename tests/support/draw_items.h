#pragma once
// Reading a draw list in tests: its items of one kind, its texts, its bitmaps.

#include <string_view>
#include <variant>
#include <vector>

#include "interaction/draw_list.h"

namespace pendra2::testing {

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

}  // namespace pendra2::testing
