#include "flowchart_ui/connection_panel.h"

#include <QIcon>
#include <QPixmap>
#include <QToolButton>

#include "device/board_generation.h"
#include "flowchart_ui/stepcraft_texts.h"
#include "ui_common/bitmaps.h"
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

ImageWriterFactory ProgressDialogWriters() {
  return [](device::Board& board, QWidget* owner) {
    return std::make_unique<ui::DialogImageWriter>(board, owner);
  };
}

ConnectionPanel::ConnectionPanel(flowchart::StepcraftState& state, device::Board& board,
                                 interaction::Prompter& prompter, ImageWriterFactory writers,
                                 QWidget* parent)
    : QWidget(parent),
      state_(state),
      board_(board),
      prompter_(prompter),
      writers_(std::move(writers)) {
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
  ShowBoardButtons(false);
  resize(sizeHint());
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
  // Never while an image is on its way: the discovery would close the channels under it.
  if (state_.transferBusy) return;
  board_.FindBoard();
  ShowBoardState();
}

void ConnectionPanel::ShowBoardState() {
  if (!board_.found()) {
    ShowBoardButtons(false);
    return;
  }
  if (board_.AutoMode(device::AutoModeArg::Query)) {
    ShowAutoMode(board_.AutoModeIsOn());
  } else if (buttons_.at(kCommandAutoOn)->isHidden() && buttons_.at(kCommandAutoOff)->isHidden()) {
    // No answer: the mode is unknown, so offer switching it on, as for a board that is off.
    ShowAutoMode(false);
  }
  ShowBoardButtons(true);
}

bool ConnectionPanel::Command(int id) {
  switch (id) {
    case kCommandTransfer:
      if (board_.found() && !state_.transferBusy) Transfer();
      return true;
    case kCommandRun:
      if (board_.found() && !state_.transferBusy) board_.Run();
      return true;
    case kCommandStop:
      if (board_.found() && !state_.transferBusy) board_.Stop();
      return true;
    case kCommandAutoOn:
      // Only a mode the board took is shown as switched.
      if (board_.AutoMode(device::AutoModeArg::On)) ShowAutoMode(true);
      return true;
    case kCommandAutoOff:
      if (board_.AutoMode(device::AutoModeArg::Off)) ShowAutoMode(false);
      return true;
    default:
      return false;
  }
}

void ConnectionPanel::Transfer() {
  device::BoardGeneration generation(board_);
  const std::unique_ptr<interaction::BoardImageWriter> writer = writers_(board_, this);
  const flowchart::TransferResult result =
      flowchart::Transfer(state_.program, state_.transferBusy, generation, *writer);
  lastTransfer_ = result.step;
  interaction::Tell(prompter_, result.outcome);
}

}  // namespace pendra2::flowchart_ui
