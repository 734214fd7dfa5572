#pragma once
// Sending the whole tune to the board as its 512-byte tune image.

#include <cstdint>
#include <optional>
#include <span>

#include "interaction/board_image_writer.h"
#include "interaction/user_message.h"
#include "melody/playback.h"
#include "melody/score.h"

namespace pendra2::melody {

inline constexpr interaction::MessageText kStopBeforeTransferMessage{
    "データを転送する場合は演奏を停止してください。", "注意！！"};
inline constexpr interaction::MessageText kTransferFailedMessage{
    "データの転送に失敗しました。\nマイコンとの接続を確かめてください。", "Error Message"};

// The image write to the board, shared with Stepcraft's transfer.
using ImageWriter = interaction::BoardImageWriter;

enum class TransferOutcome { kSent, kRefused, kTooLong, kFailed };

struct TransferResult {
  TransferOutcome outcome = TransferOutcome::kSent;
  std::optional<interaction::UserMessage> message;  // to show, when set
};

// The transfer button. Refused while a playback runs or an edit mode is active, and for
// tunes the image cannot hold; playState is 2 while the image goes out.
TransferResult Transfer(Score& score, PlaybackState& playback, int editMode, ImageWriter& writer);

}  // namespace pendra2::melody
