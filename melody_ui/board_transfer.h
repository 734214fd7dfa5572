#pragma once
// The tune image goes to the board through the same board-writer path as Stepcraft's
// programs, with the transfer progress dialog over the connection panel.

#include <QPointer>
#include <QWidget>

#include "device/board.h"
#include "melody/transfer.h"

namespace pendra2::melody_ui {

class ProgressImageWriter final : public melody::ImageWriter {
 public:
  ProgressImageWriter(device::Board& board, QWidget* owner) : board_(board), owner_(owner) {}
  bool WriteImage(std::span<const uint8_t, board_image::kImageBytes> image) override;

 private:
  device::Board& board_;
  QPointer<QWidget> owner_;
};

}  // namespace pendra2::melody_ui
