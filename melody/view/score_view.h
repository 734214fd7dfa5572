#pragma once
// The score window's picture: the background with the grid, the column numbers, the mode
// label, the note heads and loop marks of the 21 visible columns, the keyboard and its
// highlighted key. Coordinates are the window's client pixels; everything but the texts is
// artwork blitted at its own size.

#include <string_view>

#include "interaction/draw_list.h"
#include "melody/melody_state.h"
#include "melody/score_geometry.h"

namespace pendra2::melody::view {

// The column numbers' line under the grid.
inline constexpr int kNumberLineY = 432;
inline constexpr int kNumberLineX = 83;

// Artwork sizes the layout relies on.
inline constexpr int kKeyWidth = 606;  // KEY, the background
inline constexpr int kKeyHeight = 431;
inline constexpr int kKeyboardWidth = 80;  // KEYF
inline constexpr int kMarkWidth = 24;      // Lin, Lend, Lpara
inline constexpr int kBarWidth = 26;       // BAR
inline constexpr int kHeadWidth = 24;      // SC_ON, SC_PLAY
inline constexpr int kHeadHeight = 17;

inline constexpr interaction::FontSpec kNumberFont{9, 400, false};

// Selected columns: a band behind their numbers and a frame around them in the grid, violet
// so that they look like neither the played column's yellow nor the loop marks' blue.
inline constexpr interaction::Colour kSelectionBand{0xDCC6F7};
inline constexpr interaction::Colour kSelectionFrame{0x8A3FD8};
inline constexpr int kSelectionFrameWidth = 3;
inline constexpr interaction::FontSpec kModeFont{10, 400, false};

// The two buttons of the score window, which the window holds as controls.
inline constexpr interaction::Rect kDeleteButtonRect{615, 100, 675, 130};
inline constexpr interaction::Rect kInsertButtonRect{615, 150, 675, 180};

// What the picture adds beyond the editor state.
struct ScoreViewState {
  // Also paint the insert and delete buttons (pictures made without the window, such as
  // pendra2-cli's render, where no real buttons lie on top).
  bool withButtons = false;
};

// One key highlight: the artwork named after the note, drawn at x 0 and y.
struct KeyHighlight {
  std::string_view image;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The highlight of hoverKey k (1..23, note 23 - k); nullptr for 0 and anything out of range.
const KeyHighlight* KeyHighlightOf(int hoverKey);

// "スコア編集", "スコア挿入", ... for editMode 0..4; empty for any other value.
std::string_view ModeName(int editMode);

// The column whose note is sounding during a playback, -1 when none is.
int PlayedColumn(const melody::PlaybackState& playback);

// The first visible column: during whole-tune playback the view turns over in pages of 20
// columns with the played column, otherwise it is scrollPos.
int FirstVisibleColumn(const melody::MelodyState& state);

// The whole client area of the score window, in painting order.
interaction::DrawList ScoreWindowPicture(const melody::MelodyState& state,
                                         const ScoreViewState& view = {});

}  // namespace pendra2::melody::view
