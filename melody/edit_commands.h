#pragma once
// The edit menu's commands on the score: undo and redo, cut, copy and paste of the selected
// columns, and select all. A refusal comes back as the message to show; it changes nothing.
//
// Paste puts the columns in before the selection's first column, or after the tune's last
// column when nothing is selected, and selects what it put in. Undo, redo and paste bring
// the columns they changed into view.

#include "interaction/user_message.h"
#include "melody/column_clipboard.h"
#include "melody/melody_state.h"

namespace pendra2::melody {

inline constexpr std::string_view kHalfLoopText = "くり返しの始めと終わりを両方えらんでください。";
inline constexpr std::string_view kCutCaption = "切り取り";
inline constexpr std::string_view kCopyCaption = "コピー";
// "%d": the columns that would go in, and those the score still has room for.
inline constexpr interaction::MessageText kPasteNoRoomMessage{
    "%d列は入りきらないため、貼り付けられません。\nスコアにはあと%d列まで入ります。", "制限事項"};
inline constexpr interaction::MessageText kClipDamagedMessage{
    "クリップボードの列はこわれているため、貼り付けられません。", "貼り付け",
    interaction::PromptIcon::Warning};
inline constexpr interaction::MessageText kClipNewerMessage{
    "クリップボードの列は新しい版のチャイムクラフトのものなので、貼り付けられません。", "貼り付け",
    interaction::PromptIcon::Warning};

// What the commands can do now, for the menu.
bool MayUndo(const MelodyState& state);
bool MayRedo(const MelodyState& state);
bool MayCutOrCopy(const MelodyState& state);
bool MaySelectAll(const MelodyState& state);

// Each ends the insert, delete or loop mode under way and clears the selection. False when
// there was nothing to undo or redo.
bool UndoEdit(MelodyState& state);
bool RedoEdit(MelodyState& state);

interaction::Outcome CopyColumns(const MelodyState& state, ColumnClipboard& clipboard);
// Copy, then the columns taken out: one step.
interaction::Outcome CutColumns(MelodyState& state, ColumnClipboard& clipboard);
interaction::Outcome PasteColumns(MelodyState& state, const ColumnClipboard& clipboard);

bool SelectAllColumns(MelodyState& state);

// The user chose tempo row `index`: a step when it is another tempo. False for an index the
// table does not have.
bool ChangeTempo(MelodyState& state, int index);

}  // namespace pendra2::melody
