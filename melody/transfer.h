#pragma once
// Sending the whole tune to the board as its 512-byte tune image.

#include <cstdint>
#include <optional>
#include <span>

#include "interaction/board_image_writer.h"
#include "interaction/transfer_result.h"
#include "interaction/user_message.h"
#include "melody/playback.h"
#include "melody/score.h"

namespace pendra2::melody {

inline constexpr interaction::MessageText kStopBeforeTransferMessage{
    "データを転送する場合は演奏を停止してください。", "注意！！"};
inline constexpr interaction::MessageText kTransferFailedMessage{
    "データの転送に失敗しました。\nマイコンとの接続を確かめてください。", "Error Message"};

using interaction::TransferResult;
using interaction::TransferStep;

// The transfer button. Refused while a playback runs or an edit mode is active (kNotNow), and
// for tunes the image cannot hold (kTooLarge); playState is kTransferring while the image goes
// out, through the same writer as Stepcraft's programs.
TransferResult Transfer(Score& score, PlaybackState& playback, int editMode,
                        interaction::BoardImageWriter& writer);

}  // namespace pendra2::melody
