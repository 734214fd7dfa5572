#include "ui_common/board_chooser.h"

#include <algorithm>

namespace pendra2::ui {

BoardChooser::BoardChooser(BoardWorker& board, QWidget* parent) : QComboBox(parent), board_(board) {
  setObjectName(QStringLiteral("BoardChooser"));
  setToolTip(QStringLiteral("ボタンで使うボード"));
  setAccessibleName(toolTip());
  setFocusPolicy(Qt::NoFocus);
  hide();
  // Only the user's picks choose; the list's own updates do not.
  connect(this, &QComboBox::activated, this, &BoardChooser::Choose);
  connect(&board_, &BoardWorker::StatusChanged, this, &BoardChooser::ShowBoards);
  ShowBoards(board_.status());
}

void BoardChooser::ShowBoards(const BoardStatus& status) {
  for (const BoardEntry& b : status.boards) names_[b.path] = b.name;
  const auto attached = [&](const std::string& path) {
    return std::any_of(status.boards.begin(), status.boards.end(),
                       [&](const BoardEntry& b) { return b.path == path; });
  };
  const bool chosenAway = !status.chosenPath.empty() && !attached(status.chosenPath);
  const QSignalBlocker quiet(this);
  clear();
  for (const BoardEntry& b : status.boards) {
    addItem(QStringLiteral("%1: %2").arg(b.number).arg(QString::fromStdString(b.name)),
            QString::fromStdString(b.path));
  }
  if (chosenAway) {
    const auto known = names_.find(status.chosenPath);
    const std::string& name = known != names_.end() ? known->second : status.chosenPath;
    addItem(QString::fromStdString(name) + QString::fromUtf8(kBoardMissingText),
            QString::fromStdString(status.chosenPath));
  }
  const std::string& current = status.chosenPath.empty() ? status.foundPath : status.chosenPath;
  setCurrentIndex(std::max(0, findData(QString::fromStdString(current))));
  setVisible(status.boards.size() > 1 || chosenAway);
}

void BoardChooser::Choose(int index) {
  if (index < 0 || index >= count()) return;
  board_.ChooseBoard(itemData(index).toString().toStdString());
}

}  // namespace pendra2::ui
