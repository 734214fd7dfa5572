#pragma once
// The transfer dialog both editors show while an image goes to the board: modal, with a bar
// that moves after each image block, painted while the reports go out, taking no input
// until the write is over.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "interaction/board_image_writer.h"
#include "ui_common/board_worker.h"

namespace pendra2::ui {

// Block numbers 0..7 as the write reports them.
using BlockDone = std::function<void(int block)>;

// Shows the dialog over `owner`, runs `write` with a callback that moves the bar, closes the
// dialog and returns what `write` returned. `write` waits for the board worker in a local
// event loop, so the windows go on drawing; the dialog keeps every input away meanwhile.
bool RunTransferWithProgress(QWidget* owner, const std::function<bool(const BlockDone&)>& write);

// The editors' image writer: the board's image write, run on the board worker, with the
// transfer dialog over `owner` until it has ended.
class DialogImageWriter final : public interaction::BoardImageWriter {
 public:
  DialogImageWriter(BoardWorker& board, QWidget* owner) : board_(board), owner_(owner) {}
  bool WriteImage(std::span<const uint8_t, board_image::kImageBytes> image) override;

 private:
  BoardWorker& board_;
  QPointer<QWidget> owner_;
};

}  // namespace pendra2::ui
