#include "flowchart_ui/connection_panel.h"

#include <QIcon>
#include <QPixmap>
#include <QToolButton>

#include <QPointer>
#include <memory>

#include "device/board_generation.h"
#include "device/link_image_writer.h"
#include "flowchart_ui/all_boards_transfer.h"
#include "flowchart_ui/stepcraft_texts.h"
#include "ui_common/bitmaps.h"
#include "ui_common/board_chooser.h"
#include "ui_common/board_messages.h"
#include "ui_common/transfer_progress.h"

namespace pendra2::flowchart_ui {
namespace {

struct BoardButtonPlace {
  const char* art;
  int command;
  QRect rect;
  const char* toolTip;
};

constexpr BoardButtonPlace kBoardButtons[] = {
    {"PICREC", kCommandTransfer, {5, 5, 50, 30}, "マイコンに転送"},
    {"PICPLAY", kCommandRun, {55, 5, 50, 30}, "実行"},
    {"PICSTOP", kCommandStop, {105, 5, 50, 30}, "停止"},
    {"AUTOOFF", kCommandAutoOn, {55, 35, 50, 30}, "自動実行 オフ"},
    {"AUTOON", kCommandAutoOff, {55, 35, 50, 30}, "自動実行 オン"},
};

}  // namespace

ConnectionPanel::ConnectionPanel(flowchart::StepcraftState& state, ui::BoardWorker& board,
                                 interaction::Prompter& prompter, QWidget* parent)
    : QWidget(parent), state_(state), board_(board), prompter_(prompter) {
  setObjectName(QStringLiteral("COMConnectionWndClass"));
  setWindowTitle(QString::fromUtf8(kPanelTitle));
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor::fromRgb(kPanelBackground));
  setPalette(background);

  for (const BoardButtonPlace& place : kBoardButtons) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::number(place.command));
    button->setGeometry(place.rect);
    button->setIcon(QIcon(QPixmap::fromImage(ui::LoadBitmap(QString::fromUtf8(place.art)))));
    button->setIconSize(place.rect.size() - QSize(4, 4));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QString::fromUtf8(place.toolTip));
    button->setAccessibleName(QString::fromUtf8(place.toolTip));
    connect(button, &QToolButton::clicked, this,
            [this, command = place.command] { Command(command); });
    buttons_[place.command] = button;
  }
  chooser_ = new ui::BoardChooser(board_, this);
  chooser_->setGeometry(kBoardChooserRect);
  ShowBoardButtons(false);
  resize(sizeHint());
  connect(&board_, &ui::BoardWorker::StatusChanged, this, &ConnectionPanel::ShowBoardState);
}

QSize ConnectionPanel::sizeHint() const {
  return kPanelRect.size();
}

QToolButton* ConnectionPanel::button(int command) const {
  const auto it = buttons_.find(command);
  return it == buttons_.end() ? nullptr : it->second;
}

void ConnectionPanel::ShowBoardButtons(bool shown) {
  for (int command : {kCommandTransfer, kCommandRun, kCommandStop}) {
    buttons_.at(command)->setVisible(shown);
  }
  if (!shown) {
    buttons_.at(kCommandAutoOn)->hide();
    buttons_.at(kCommandAutoOff)->hide();
  }
}

void ConnectionPanel::ShowAutoMode(bool on) {
  buttons_.at(kCommandAutoOn)->setVisible(!on);
  buttons_.at(kCommandAutoOff)->setVisible(on);
}

void ConnectionPanel::RefreshBoardButtons() {
  // While an image is on its way the worker serves the transfer first anyway; the look
  // follows it.
  board_.RequestRefresh();
}

void ConnectionPanel::ShowBoardState(const ui::BoardStatus& status) {
  if (!status.present()) {
    ShowBoardButtons(false);
    return;
  }
  // A mode not heard yet is offered to be switched on, as for a board that is off.
  ShowAutoMode(status.autoModeOn.value_or(false));
  ShowBoardButtons(true);
}

bool ConnectionPanel::Command(int id) {
  // Without a board these do nothing; whether one is there is the worker's to say when the
  // request's turn comes (the first look may still be under way).
  const bool mayBeThere = !board_.discovered() || board_.status().found;
  switch (id) {
    case kCommandTransfer:
      if (mayBeThere && !state_.transferBusy) Transfer();
      return true;
    case kCommandRun:
    case kCommandStop:
      if (mayBeThere && !state_.transferBusy) Act(id);
      return true;
    case kCommandAutoOn:
    case kCommandAutoOff:
      Act(id);
      return true;
    case kCommandTransferAll:
      if (!state_.transferBusy) TransferToAll();
      return true;
    default:
      return false;
  }
}

void ConnectionPanel::Act(int command) {
  board_.Ask(
      this,
      [command](device::Board& board) {
        switch (command) {
          case kCommandRun:
            return !board.found() || board.Run();
          case kCommandStop:
            return !board.found() || board.Stop();
          case kCommandAutoOn:
            return board.AutoMode(device::AutoModeArg::On);
          default:
            return board.AutoMode(device::AutoModeArg::Off);
        }
      },
      [this, command](bool reached) {
        if (!reached) {
          // The buttons have already gone with the board's status; this says why.
          interaction::Tell(prompter_, ui::kBoardUnreachableMessage);
          return;
        }
        // Only a mode the board took is shown as switched.
        if (command == kCommandAutoOn) ShowAutoMode(true);
        if (command == kCommandAutoOff) ShowAutoMode(false);
      });
}

void ConnectionPanel::Transfer() {
  // The whole transfer (generation question, recompute, image write) runs on the worker, on a
  // copy of the program, with the transfer dialog up from the first request to the last, so
  // nothing can edit the program or come between the requests meanwhile.
  auto program = std::make_shared<flowchart::FlowProgram>(state_.program);
  state_.transferBusy = true;
  flowchart::TransferResult result;
  ui::RunTransferWithProgress(this, [&](const ui::BlockDone& done) {
    QPointer<QWidget> panel(this);
    const std::optional<flowchart::TransferResult> transferred =
        board_.AskAndWait([program, done, panel](device::Board& board) {
          std::optional<flowchart::TransferResult> sent;
          if (!board.found()) return sent;  // no board to send to: nothing happens
          device::BoardGeneration generation(board);
          device::LinkImageWriter writer(board, [done, panel](int block) {
            QMetaObject::invokeMethod(
                panel, [done, block] { done(block); }, Qt::QueuedConnection);
          });
          sent = flowchart::Transfer(*program, generation, writer);
          return sent;
        });
    if (transferred) result = *transferred;
    return result.step == flowchart::TransferStep::kSent;
  });
  // The program as the transfer left it: recomputed once it got past the guards, so the
  // image shown and saved is the image sent. Nothing could change it meanwhile.
  state_.program = *program;
  state_.transferBusy = false;
  lastTransfer_ = result.step;
  interaction::Tell(prompter_, result.outcome);
}

void ConnectionPanel::TransferToAll() {
  // The dialog keeps every input away until the last board is done; nothing can edit the
  // program or press a board button meanwhile.
  state_.transferBusy = true;
  const interaction::UserMessage said = TransferToAllBoards(this, board_, state_.program);
  state_.transferBusy = false;
  interaction::Tell(prompter_, said);
}

}  // namespace pendra2::flowchart_ui
