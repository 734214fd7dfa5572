#include "melody/view/score_view.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

#include "melody/view/score_grid.h"

namespace pendra2::melody::view {
namespace {

using interaction::DrawList;

// Key highlights by hoverKey - 1, from A2s at the top of the keyboard down to C1.
constexpr std::array<KeyHighlight, 23> kKeyHighlights{{
    {"A2s", 20, 50, 20},  {"A2", 31, 79, 31},   {"G2s", 53, 50, 20},  {"G2", 64, 79, 32},
    {"F2s", 87, 50, 20},  {"F2", 98, 79, 26},   {"E2", 126, 79, 28},  {"D2s", 145, 50, 20},
    {"D2", 156, 79, 30},  {"C2s", 177, 50, 20}, {"C2", 188, 79, 26},  {"B1", 216, 79, 28},
    {"A1s", 235, 50, 20}, {"A1", 246, 79, 32},  {"G1s", 269, 50, 20}, {"G1", 280, 79, 33},
    {"F1s", 304, 50, 20}, {"F1", 315, 79, 26},  {"E1", 343, 79, 24},  {"D1s", 358, 50, 20},
    {"D1", 369, 79, 34},  {"C1s", 394, 50, 20}, {"C1", 405, 79, 25},
}};

constexpr std::array<std::string_view, 5> kModeNames{"スコア編集", "スコア挿入", "スコア削除",
                                                     "ループ開始", "ループ終了"};

constexpr int kBarEvery = 5;
constexpr interaction::Point kModeCaptionAt{620, 260};
constexpr interaction::Point kModeNameAt{620, 290};

int ColumnX(int j) {
  return kGridLeft + kColumnWidth * j;
}

// Column numbers stand under every fifth column, numbered from 1 as the user counts.
void ColumnNumbers(DrawList& list, int first) {
  for (int i = first; i <= first + kVisibleColumns - 1 && i < melody::kCellCount; ++i) {
    if (i % kBarEvery != kBarEvery - 1) continue;
    char text[8];
    std::snprintf(text, sizeof text, "%3d", i + 1);
    list.Text({kNumberLineX + kColumnWidth * (i - first), kNumberLineY}, kNumberFont, text);
  }
}

// Every fifth column gets its bar, a mark's parameter columns too: the bars go down first,
// so marks and note heads lie on top and the counting rhythm never breaks.
void Bars(DrawList& list, int first) {
  for (int i = first; i < first + kVisibleColumns && i <= melody::kLastEditable; ++i) {
    if (i % kBarEvery != kBarEvery - 1) continue;
    const int x = ColumnX(i - first);
    list.Bitmap("BAR", {x, 0, x + kBarWidth, kKeyHeight});
  }
}

void Cells(DrawList& list, const melody::Cells& cells, int first, int played) {
  for (const GridCell& cell : VisibleCells(cells, first)) {
    list.items.emplace_back(CellBitmap(cell, cell.position == played));
  }
}

// The visible part of the selection as view columns j0..j1, or nothing when none of it is
// in view.
std::optional<std::pair<int, int>> SelectedInView(const melody::ColumnSelection& selection,
                                                  int first) {
  if (selection.empty()) return std::nullopt;
  const int j0 = std::max(selection.first - first, 0);
  const int j1 = std::min(selection.last - first, kVisibleColumns - 1);
  if (j0 > j1) return std::nullopt;
  return std::pair(j0, j1);
}

void SelectionBand(DrawList& list, const melody::ColumnSelection& selection, int first) {
  const auto shown = SelectedInView(selection, first);
  if (!shown) return;
  list.Fill({ColumnX(shown->first) + 1, melody::kNumberStripTop, ColumnX(shown->second + 1) + 1,
             melody::kNumberStripBottom},
            kSelectionBand);
}

// The frame stays open on a side where the selection goes on out of view.
void SelectionFrame(DrawList& list, const melody::ColumnSelection& selection, int first) {
  const auto shown = SelectedInView(selection, first);
  if (!shown) return;
  const int left = ColumnX(shown->first) + 1;
  const int right = ColumnX(shown->second + 1);
  const int top = 1;
  const int bottom = kKeyHeight - 1;
  list.Line({{left, top}, {right, top}}, kSelectionFrameWidth, kSelectionFrame);
  list.Line({{left, bottom}, {right, bottom}}, kSelectionFrameWidth, kSelectionFrame);
  if (selection.first >= first)
    list.Line({{left, top}, {left, bottom}}, kSelectionFrameWidth, kSelectionFrame);
  if (selection.last < first + kVisibleColumns)
    list.Line({{right, top}, {right, bottom}}, kSelectionFrameWidth, kSelectionFrame);
}

}  // namespace

const KeyHighlight* KeyHighlightOf(int hoverKey) {
  if (hoverKey < 1 || hoverKey > static_cast<int>(kKeyHighlights.size())) return nullptr;
  return &kKeyHighlights[static_cast<std::size_t>(hoverKey - 1)];
}

std::string_view ModeName(int editMode) {
  if (editMode < 0 || editMode >= static_cast<int>(kModeNames.size())) return {};
  return kModeNames[static_cast<std::size_t>(editMode)];
}

int PlayedColumn(const melody::PlaybackState& playback) {
  if (playback.playMode == melody::kNoPlayback) return -1;
  return playback.playedPosition;
}

int FirstVisibleColumn(const melody::MelodyState& state) {
  if (state.playback.playMode == melody::kWholeTune) {
    const int played = PlayedColumn(state.playback);
    const int at = played >= 0 ? played : state.playback.playPosition;
    return std::max(0, at) / 20 * 20;
  }
  return state.scrollPos;
}

DrawList ScoreWindowPicture(const melody::MelodyState& state, const ScoreViewState& view) {
  DrawList list;
  const int first = FirstVisibleColumn(state);
  list.Fill({0, 0, kClientWidth, kClientHeight}, interaction::kWhite);
  list.Bitmap("KEY", {0, 0, kKeyWidth, kKeyHeight});
  SelectionBand(list, state.selection, first);
  ColumnNumbers(list, first);
  list.Text(kModeCaptionAt, kModeFont, "モード");
  if (const std::string_view mode = ModeName(state.editMode); !mode.empty()) {
    list.Text(kModeNameAt, kModeFont, std::string(mode));
  }
  Bars(list, first);
  Cells(list, state.score.cells, first, PlayedColumn(state.playback));
  SelectionFrame(list, state.selection, first);
  list.Bitmap("KEYF", {0, 0, kKeyboardWidth, kKeyHeight});
  if (const KeyHighlight* key = KeyHighlightOf(state.hoverKey)) {
    list.Bitmap(std::string(key->image), {0, key->y, key->width, key->y + key->height});
  }
  if (view.withButtons) {
    list.Bitmap("SCRDEL", kDeleteButtonRect);
    list.Bitmap("SCRINS", kInsertButtonRect);
  }
  return list;
}

}  // namespace pendra2::melody::view
