#pragma once
// New score, save and load as the editor runs them: the file dialogs, the ".olg" completion,
// the title, and the question that keeps unsaved work from being thrown away.

#include <optional>
#include <string>
#include <string_view>

#include "interaction/file_chooser.h"
#include "interaction/prompter.h"
#include "melody/melody_state.h"

namespace pendra2::melody {

inline constexpr std::string_view kTitlePrefix = "スコア編集 ";
inline constexpr interaction::MessageText kSaveChangesQuestion{
    "内容が変更されています\n保存しますか？", "終了"};

interaction::FileRequest SaveTuneRequest();
interaction::FileRequest LoadTuneRequest();

// ".olg" appended when the chosen path has no '.' anywhere.
std::string CompleteTunePath(std::string path);

// "スコア編集 [NAME]" with the folders of `path` removed ('/' and '\' both separate them).
std::string TitleForPath(std::string_view path);

// The document side of the editor: the state, whose documentTitle is the score window's
// caption, and the user's answers.
struct ScoreDocument {
  MelodyState& state;
  interaction::Prompter& prompter;
  interaction::FileChooser& chooser;
};

// The save command: the save dialog, then the file. True when the score was saved; a
// cancelled dialog or a failed save (its message shown) gives false and changes nothing.
bool SaveScoreAs(ScoreDocument& doc);

// Before the score is replaced or the program ends: asks about unsaved changes. True when
// the caller may go on (nothing to save, No, or a save that succeeded).
bool MayDiscardScore(ScoreDocument& doc);

// The load command after the question: true when a file was loaded (scrollPos back to 0 and
// the title shows it); the caller shows the loaded tempo.
bool LoadScore(ScoreDocument& doc);

// The new-score command after the question: reset score, playback off, untitled.
void NewScoreDocument(ScoreDocument& doc);

}  // namespace pendra2::melody
