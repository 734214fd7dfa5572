#include "melody/transfer.h"

#include "melody/tune_image.h"

namespace pendra2::melody {

TransferResult Transfer(Score& score, PlaybackState& playback, int editMode, ImageWriter& writer) {
  if (playback.playState != kIdle || editMode != 0) {
    return {TransferOutcome::kRefused, kStopBeforeTransferMessage};
  }
  Normalise(score);
  if (!FitsTuneImage(score)) return {TransferOutcome::kTooLong, kTuneTooLongMessage};
  playback.playState = kTransferring;
  const auto image = TuneImage(score);
  const bool sent = writer.WriteImage(image);
  playback.playState = kIdle;
  if (!sent) return {TransferOutcome::kFailed, kTransferFailedMessage};
  return {};
}

}  // namespace pendra2::melody
