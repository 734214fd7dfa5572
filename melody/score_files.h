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

// What opening a file came to.
struct TuneOpened {
  bool opened = false;  // false: the file was refused or unreadable, its message shown, and
                        // nothing changed, not the score, the header, the title or the view
  // A tune that opened cut short: for the caller to show once the tune is in view.
  std::optional<interaction::UserMessage> warning;
};

enum class OpenedTitle { kFileName, kUntitled };

// Every way a file becomes the score (the load command, the file given at start, the example
// gallery) comes here: scrollPos back to 0, nothing to undo or selected, and the title by
// `title`; the caller shows the loaded tempo.
TuneOpened OpenTuneFile(ScoreDocument& doc, const std::string& path, OpenedTitle title);

// The load command after the question: the open dialog, the ".olg" completion, then
// OpenTuneFile; a cancelled dialog opens nothing and says nothing.
TuneOpened LoadScore(ScoreDocument& doc);

// The new-score command after the question: reset score, playback off, untitled.
void NewScoreDocument(ScoreDocument& doc);

}  // namespace pendra2::melody
