#pragma once
// The transfer button: the size and generation guards, then the program image to the board.
// Stepcraft and the command line both send programs through here.

#include <cstdint>
#include <optional>

#include "flowchart/flow_program.h"
#include "interaction/board_image_writer.h"
#include "interaction/generation_source.h"
#include "interaction/transfer_result.h"
#include "interaction/user_message.h"

namespace pendra2::flowchart {

inline constexpr interaction::MessageText kTooLargeMessage{
    "データが５１２バイトを越しているので転送できません。", "Warning",
    interaction::PromptIcon::Warning};
inline constexpr interaction::MessageText kGenerationRefusedMessage{
    "このバージョンで作成したプログラムは\n新しいバージョンのPendra専用です\n誤動作の可能性が"
    "ありますので\n書き込みを中止します。",
    "Error", interaction::PromptIcon::Error};
// A request or reply that did not get through, before or during the image write.
inline constexpr interaction::MessageText kTransferFailedMessage{
    "データの転送に失敗しました。\nマイコンとの接続を確かめてください。", "Error Message",
    interaction::PromptIcon::Error};

using interaction::GenerationSource;
using interaction::TransferResult;
using interaction::TransferStep;

// Size guard, generation guard, recompute, then the image write. The caller has found the
// board, and keeps its run and stop buttons quiet (the editor's transferBusy) until this ends.
TransferResult Transfer(FlowProgram& program, GenerationSource& board,
                        interaction::BoardImageWriter& writer);

}  // namespace pendra2::flowchart
