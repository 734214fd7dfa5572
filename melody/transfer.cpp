#include "melody/transfer.h"

#include "melody/tune_image.h"

namespace pendra2::melody {

TransferResult Transfer(Score& score, PlaybackState& playback, int editMode,
                        interaction::BoardImageWriter& writer) {
  if (playback.playState != kIdle || editMode != 0) {
    return {TransferStep::kNotNow, kStopBeforeTransferMessage};
  }
  Normalise(score);
  if (!FitsTuneImage(score)) return {TransferStep::kTooLarge, kTuneTooLongMessage};
  playback.playState = kTransferring;
  const auto image = TuneImage(score);
  const bool sent = writer.WriteImage(image);
  playback.playState = kIdle;
  if (!sent) return {TransferStep::kFailed, kTransferFailedMessage};
  return {};
}

}  // namespace pendra2::melody
