#pragma once
// What a mouse button release, a mouse move and the scroll bar do in the score window, by
// edit mode. The window passes client coordinates; the questions (count dialogs, Yes/No
// boxes) are asked through the interfaces passed in, so every answer can be tried
// without a window.

#include "interaction/prompter.h"
#include "melody/live_note.h"
#include "melody/melody_state.h"

namespace pendra2::melody {

inline constexpr int kDeleteDialog = 184;
inline constexpr int kInsertDialog = 185;
inline constexpr int kLoopCountDialog = 186;

inline constexpr interaction::MessageText kJumpToLoopStartQuestion{"ループ元にジャンプしますか？",
                                                                   "ループ"};
inline constexpr interaction::MessageText kRemoveLoopQuestion{"ループを削除します", "削除モード"};
inline constexpr interaction::MessageText kNoRoomForLoopMessage{
    "スコアの最後の列まで使われているため、ループを入れられません。", "制限事項"};

// The three number dialogs of the score window.
class CountDialogs {
 public:
  virtual ~CountDialogs() = default;
  // Dialog 184 or 185: the number of columns, 0 when cancelled (0 means do nothing).
  virtual int AskColumnCount(int dialogId) = 0;
  // Dialog 186 opened with `current`: the new count, nothing when cancelled.
  virtual std::optional<int> AskLoopCount(int current) = 0;
};

struct ReleaseEffect {
  bool redraw = false;
  bool scrollMoved = false;  // scrollPos changed: the scroll bar follows
  Sends sends;               // PlayNote codes to send now, in order
};

// A button release at x, y in the score window. `found` gates the sounds it asks for. What
// changed the tune is a step of its undo history. A release that ends a drag along the
// numbers keeps the columns selected; any other clears the selection.
ReleaseEffect ReleaseInScore(MelodyState& state, int x, int y, bool found,
                             interaction::Prompter& prompter, CountDialogs& dialogs);

// A button press: on the numbers strip in the edit mode it selects the column there and
// starts a drag. True when the window should be redrawn.
bool PressInScore(MelodyState& state, int x, int y);

struct DragEffect {
  bool redraw = false;
  bool scrollMoved = false;
};

// A move with the button held at client x: a drag along the numbers selects from where it
// began to the column under x, the view following past the grid's ends.
DragEffect DragInScore(MelodyState& state, int x);

// A mouse move: updates hoverKey; true when the window should be redrawn.
bool MoveInScore(MelodyState& state, int x, int y);

// The cursor the window shows in each edit mode: nothing for the arrow.
const char* ModeCursorName(int editMode);

enum class ScrollStep { kLineLeft, kLineRight, kPageLeft, kPageRight, kThumb };

// The scroll position after a scroll bar message; `thumb` is the position a thumb message
// carries (unclamped, as the bar sends it).
int ScrollAfter(int scrollPos, ScrollStep step, int thumb = 0);

}  // namespace pendra2::melody
