#pragma once
// コントロール → すべてのボードに転送: the program into every board attached, all at once,
// each with its own generation question as the transfer button asks it, under a dialog that
// lists the boards. The writes run off the window's thread (on the board worker, one thread
// per board), so every window keeps drawing.

#include <QWidget>

#include "flowchart/flow_program.h"
#include "interaction/user_message.h"
#include "ui_common/board_worker.h"

namespace pendra2::flowchart_ui {

inline constexpr interaction::MessageText kNoBoardsMessage{
    "マイコンが接続されていません。", "すべてのボードに転送", interaction::PromptIcon::Error};

// What to tell the user: how many boards took the program, and why each other one did not.
// The program is recomputed as a transfer leaves it once any board got that far.
interaction::UserMessage TransferToAllBoards(QWidget* owner, ui::BoardWorker& worker,
                                             flowchart::FlowProgram& program);

}  // namespace pendra2::flowchart_ui
