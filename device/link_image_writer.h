#pragma once
// The board link behind the cores' image writer: the image goes out block by block, and each
// answered block is told to whatever the caller shows (a dialog, a terminal line).

#include <utility>

#include "device/board.h"
#include "interaction/board_image_writer.h"

namespace pendra2::device {

class LinkImageWriter : public interaction::BoardImageWriter {
 public:
  LinkImageWriter(Board& board, BlockProgress progress)
      : board_(board), progress_(std::move(progress)) {}
  bool WriteImage(std::span<const uint8_t, board_image::kImageBytes> image) override {
    return board_.WriteImage(image, progress_);
  }

 private:
  Board& board_;
  BlockProgress progress_;
};

}  // namespace pendra2::device
