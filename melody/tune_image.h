#pragma once
// The 512 bytes a tune transfer writes into the board: 'T', the tempo byte, the columns
// after Normalise, and 'E' right after the end mark.

#include <array>
#include <cstdint>

#include "board_image/layout.h"
#include "interaction/user_message.h"
#include "melody/score.h"

namespace pendra2::melody {

using TuneImageBytes = board_image::Image;

inline constexpr uint8_t kImageTerminator = board_image::op::kEnd;
// The last position whose column still leaves room for the end mark and 'E' in the image.
inline constexpr int kLastTransferablePosition = 507;

inline constexpr interaction::MessageText kTuneTooLongMessage{
    "曲が長すぎるため、マイコンに転送できません。\n転送できるのは508列目までです。", "注意！！"};

// True when the normalised score (end mark at length - 1) fits the image with its 'E'.
constexpr bool FitsTuneImage(const Score& score) {
  return score.length >= 1 && score.length - 2 <= kLastTransferablePosition;
}

// The image of a normalised score. A score too long for the image (see FitsTuneImage) is
// cut at the image's end without a terminator; callers refuse to send it.
TuneImageBytes TuneImage(const Score& score);

}  // namespace pendra2::melody
