#pragma once
// Reading draw lists in the score picture tests.

#include <string>
#include <variant>
#include <vector>

#include "interaction/draw_list.h"

namespace pendra2::melody_ui {

template <typename T>
std::vector<T> Items(const interaction::DrawList& list) {
  std::vector<T> found;
  for (const auto& item : list.items) {
    if (const T* t = std::get_if<T>(&item)) found.push_back(*t);
  }
  return found;
}

inline std::vector<interaction::BitmapItem> Bitmaps(const interaction::DrawList& list,
                                                    const std::string& name) {
  std::vector<interaction::BitmapItem> found;
  for (const auto& b : Items<interaction::BitmapItem>(list)) {
    if (b.name == name) found.push_back(b);
  }
  return found;
}

// Left edges of the named bitmaps, in drawing order.
inline std::vector<int> Lefts(const interaction::DrawList& list, const std::string& name) {
  std::vector<int> xs;
  for (const auto& b : Bitmaps(list, name)) xs.push_back(b.dest.left);
  return xs;
}

inline std::vector<std::string> Texts(const interaction::DrawList& list) {
  std::vector<std::string> texts;
  for (const auto& t : Items<interaction::TextItem>(list)) texts.push_back(t.text);
  return texts;
}

}  // namespace pendra2::melody_ui
