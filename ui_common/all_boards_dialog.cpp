#include "ui_common/all_boards_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "ui_common/replay/dialog_driver.h"

namespace pendra2::ui {
namespace {

constexpr int kBlocks = 8;
// A classroom's thirty rows scroll rather than run off the screen.
constexpr int kMostVisibleHeight = 360;

}  // namespace

AllBoardsDialog::AllBoardsDialog(QWidget* owner, const std::vector<std::string>& names)
    : QDialog(owner) {
  setObjectName(QStringLiteral("AllBoardsTransfer"));
  setProperty(replay::kReplayPassiveProperty, true);
  setWindowTitle(QStringLiteral("すべてのボードに転送中"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint & ~Qt::WindowCloseButtonHint);
  setWindowModality(Qt::ApplicationModal);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      QStringLiteral("データを%1台のマイコンに転送しています。").arg(names.size()), this));
  auto* list = new QWidget;
  auto* grid = new QGridLayout(list);
  grid->setContentsMargins(0, 0, 0, 0);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const int r = static_cast<int>(i);
    grid->addWidget(new QLabel(QString::fromStdString(names[i]), list), r, 0);
    Row row;
    row.bar = new QProgressBar(list);
    row.bar->setRange(0, kBlocks);
    row.bar->setValue(0);
    row.bar->setTextVisible(false);
    row.bar->setMinimumWidth(160);
    grid->addWidget(row.bar, r, 1);
    row.state = new QLabel(QStringLiteral("転送中"), list);
    row.state->setMinimumWidth(150);
    grid->addWidget(row.state, r, 2);
    rows_.push_back(row);
  }
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(list);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setMaximumHeight(std::min(kMostVisibleHeight, list->sizeHint().height() + 4));
  scroll->setMinimumHeight(scroll->maximumHeight());
  scroll->setMinimumWidth(list->sizeHint().width() + 24);
  layout->addWidget(scroll);
}

void AllBoardsDialog::SetBlocks(std::size_t board, int blocks) {
  if (board < rows_.size()) rows_[board].bar->setValue(std::clamp(blocks, 0, kBlocks));
}

void AllBoardsDialog::SetDone(std::size_t board, const QString& text, bool ok) {
  if (board >= rows_.size()) return;
  if (ok) rows_[board].bar->setValue(kBlocks);
  rows_[board].state->setText(text);
}

QString AllBoardsDialog::RowText(std::size_t board) const {
  return board < rows_.size() ? rows_[board].state->text() : QString();
}

void AllBoardsDialog::closeEvent(QCloseEvent* event) {
  event->ignore();
}

}  // namespace pendra2::ui
