#pragma once
// What both editors say when a board button's request did not reach the board (it was
// unplugged, or stopped answering): the button does not just do nothing.

#include "interaction/user_message.h"

namespace pendra2::ui {

inline constexpr interaction::MessageText kBoardUnreachableMessage{
    "マイコンと通信できませんでした。\nマイコンとの接続を確かめてください。", "Error Message",
    interaction::PromptIcon::Error};

}  // namespace pendra2::ui
