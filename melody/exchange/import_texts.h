#pragma once
// What the MIDI import tells the user: why a file cannot be read, what the conversion had to
// change, and the dialog's line about the choice in view. "%s" stands for the file's name.

#include <optional>
#include <string>

#include "interaction/user_message.h"
#include "melody/exchange/score_from_midi.h"

namespace pendra2::melody::exchange {

inline constexpr char kImportCaption[] = "MIDIファイル読込み";

inline constexpr interaction::MessageText kMidiOpenErrorMessage{
    "「%s」を開けませんでした。", "Error Message", interaction::PromptIcon::Warning};
inline constexpr interaction::MessageText kMidiTooLargeMessage{
    "「%s」は大きすぎて読み込めません。", "Error Message", interaction::PromptIcon::Warning};
inline constexpr interaction::MessageText kNotMidiMessage{
    "「%s」は読み込めません。\nMIDIファイルではありません。", "Error Message",
    interaction::PromptIcon::Warning};
inline constexpr interaction::MessageText kMidiDamagedMessage{
    "「%s」は読み込めません。\nMIDIファイルが壊れています。", "Error Message",
    interaction::PromptIcon::Warning};
inline constexpr interaction::MessageText kMidiUnsupportedMessage{
    "「%s」は読み込めません。\nこの種類のMIDIファイルには対応していません。", "Error Message",
    interaction::PromptIcon::Warning};
inline constexpr interaction::MessageText kMidiNoNotesMessage{
    "「%s」には音符がないため、読み込めません。", "Error Message",
    interaction::PromptIcon::Warning};
inline constexpr interaction::MessageText kMidiDrumsOnlyMessage{
    "「%s」にはドラム（チャンネル10）の音しかないため、メロディーを読み込めません。",
    "Error Message", interaction::PromptIcon::Warning};

// What the conversion changed that the user would not see at once (notes moved or left out,
// the end cut off), one sentence each; nothing when the tune came over whole.
std::optional<interaction::UserMessage> ImportReport(const ImportResult& result);

// The dialog's line under its choices: the columns, the tempo, and what will be folded in.
std::string ImportSummary(const ImportResult& result);

}  // namespace pendra2::melody::exchange
