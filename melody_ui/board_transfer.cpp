#include "melody_ui/board_transfer.h"

#include "ui_common/transfer_progress.h"

namespace pendra2::melody_ui {

bool ProgressImageWriter::WriteImage(std::span<const uint8_t, board_image::kImageBytes> image) {
  return ui::RunTransferWithProgress(
      owner_, [&](const ui::BlockDone& done) { return board_.WriteImage(image, done); });
}

}  // namespace pendra2::melody_ui
