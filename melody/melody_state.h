#pragma once
// Chimecraft's state for the life of the program: the score, the tune file header buffer,
// the playback, the editor variables, the undo history and the selected columns. main() owns one;
// tests make fresh ones.

#include <string>
#include <string_view>

#include "melody/column_selection.h"
#include "melody/live_note.h"
#include "melody/playback.h"
#include "melody/score.h"
#include "melody/score_history.h"
#include "melody/tune_file.h"

namespace pendra2::melody {

inline constexpr std::string_view kNoTitle = "スコア編集 [No Title]";

enum EditMode : int {
  kEditMode = 0,
  kInsertMode = 1,
  kDeleteMode = 2,
  kLoopStartMode = 3,
  kLoopEndMode = 4
};

struct MelodyState {
  Score score;
  TuneHeader header{};
  PlaybackState playback;
  int liveNote = kNoLiveNote;
  int editMode = kEditMode;
  int scrollPos = 0;
  int hoverKey = 0;
  // The score window's caption: "スコア編集 [NAME]" once the score has a file.
  std::string documentTitle{kNoTitle};
  ScoreHistory history;
  ColumnSelection selection;
};

// The new-score command: a reset score, untitled, playback and loop play off. A running
// playback stops at once, without the closing silence; the scroll position stays. Nothing
// is left to undo or selected.
inline void NewScore(MelodyState& state) {
  ResetScore(state.score);
  state.history.Reset(state.score);
  state.selection.Clear();
  state.documentTitle = std::string(kNoTitle);
  state.playback.playMode = kNoPlayback;
  state.playback.playState = kIdle;
  state.playback.loopPlay = false;
}

}  // namespace pendra2::melody
