#pragma once
// The connection panel ("コマンドボタン"): the board buttons. It writes the program into the
// board, runs and stops it, switches auto mode, and shows its buttons only while a board is
// there and answers; with several boards attached, a list says which one they act on and
// lets the user choose another. Every exchange runs on the board worker: the panel asks and is
// told, and its buttons follow the worker's last word on the board (a refresh runs at every repaint
// of the flowchart window, on reconnect and by itself while the program is idle).

#include <QWidget>
#include <map>

#include "flowchart/stepcraft_state.h"
#include "flowchart/transfer.h"
#include "interaction/prompter.h"
#include "ui_common/board_worker.h"

class QToolButton;

namespace pendra2::ui {
class BoardChooser;
}

namespace pendra2::flowchart_ui {

class ConnectionPanel : public QWidget {
  Q_OBJECT

 public:
  ConnectionPanel(flowchart::StepcraftState& state, ui::BoardWorker& board,
                  interaction::Prompter& prompter, QWidget* parent = nullptr);

  // Asks for a fresh look at the board; the buttons follow when it is told.
  void RefreshBoardButtons();
  // The buttons for the board as the worker last saw it.
  void ShowBoardState(const ui::BoardStatus& status);
  // A board button's command (2011, 2002, 2003, 2026, 2027) or the transfer into every
  // board (33030); false for any other id.
  bool Command(int id);

  QToolButton* button(int command) const;
  ui::BoardChooser* chooser() const { return chooser_; }
  // How the last transfer ended (kSent before any transfer).
  flowchart::TransferStep lastTransfer() const { return lastTransfer_; }
  QSize sizeHint() const override;

 private:
  void Transfer();
  void TransferToAll();
  // Run, Stop or an auto-mode switch; a request that did not reach the board says so.
  void Act(int command);
  void ShowAutoMode(bool on);
  void ShowBoardButtons(bool shown);

  flowchart::StepcraftState& state_;
  ui::BoardWorker& board_;
  interaction::Prompter& prompter_;
  std::map<int, QToolButton*> buttons_;
  ui::BoardChooser* chooser_ = nullptr;
  flowchart::TransferStep lastTransfer_ = flowchart::TransferStep::kSent;
};

}  // namespace pendra2::flowchart_ui
