#pragma once
// The list in an editor's connection panel that says which board its buttons act on, when
// there is more than one to choose from, and lets the user choose another. It follows the
// board worker's word on the boards attached; the choice itself goes to the worker, whose
// board link then looks for that board alone.

#include <QComboBox>
#include <map>
#include <string>

#include "ui_common/board_worker.h"

namespace pendra2::ui {

// Shown after the name of a chosen board that has gone away.
inline constexpr char kBoardMissingText[] = "（未接続）";

class BoardChooser final : public QComboBox {
 public:
  BoardChooser(BoardWorker& board, QWidget* parent);

  // Shown while several boards are attached, or while the chosen one is away; the entry
  // shown is the board the buttons act on.
  void ShowBoards(const BoardStatus& status);
  // The user's choice of entry `index`, as a click in the list makes it.
  void Choose(int index);

 private:
  BoardWorker& board_;
  // The names of the boards seen, so a chosen board that went away is still named.
  std::map<std::string, std::string> names_;
};

}  // namespace pendra2::ui
