#pragma once
// The connection panel ("コマンドボタン"): the board buttons. It writes the program into the
// board, runs and stops it, switches auto mode, and shows its buttons only while a board is
// there (RefreshBoardButtons, run at every repaint of the flowchart window and on reconnect).

#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "device/board.h"
#include "flowchart/stepcraft_state.h"
#include "flowchart/transfer.h"
#include "interaction/board_image_writer.h"
#include "interaction/prompter.h"

class QToolButton;

namespace pendra2::flowchart_ui {

// Makes the writer that sends one image with its progress shown; `owner` is the panel.
using ImageWriterFactory =
    std::function<std::unique_ptr<interaction::BoardImageWriter>(device::Board&, QWidget* owner)>;

// The program's writers: the transfer dialog ("データ転送中") over `owner`, its bar moving as
// each block is answered.
ImageWriterFactory ProgressDialogWriters();

class ConnectionPanel : public QWidget {
  Q_OBJECT

 public:
  ConnectionPanel(flowchart::StepcraftState& state, device::Board& board,
                  interaction::Prompter& prompter, ImageWriterFactory writers,
                  QWidget* parent = nullptr);

  // Looks for the board again and shows or hides the board buttons.
  void RefreshBoardButtons();
  // The buttons for the board the last discovery found, asking it for its auto mode.
  void ShowBoardState();
  // A board button's command (2011, 2002, 2003, 2026, 2027); false for any other id.
  bool Command(int id);

  QToolButton* button(int command) const;
  // How the last transfer ended (kSent before any transfer).
  flowchart::TransferStep lastTransfer() const { return lastTransfer_; }
  QSize sizeHint() const override;

 private:
  void Transfer();
  void ShowAutoMode(bool on);
  void ShowBoardButtons(bool shown);

  flowchart::StepcraftState& state_;
  device::Board& board_;
  interaction::Prompter& prompter_;
  ImageWriterFactory writers_;
  std::map<int, QToolButton*> buttons_;
  flowchart::TransferStep lastTransfer_ = flowchart::TransferStep::kSent;
};

}  // namespace pendra2::flowchart_ui
