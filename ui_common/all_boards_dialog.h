#pragma once
// The dialog over an editor while one image goes into every board at once: a row for each
// board with its name, a bar of the blocks it has taken and what became of it. Modal, and
// closed by nobody but the program, as the single transfer's dialog; the writes themselves
// run off this thread, so every window keeps drawing.

#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QProgressBar;

namespace pendra2::ui {

class AllBoardsDialog final : public QDialog {
 public:
  AllBoardsDialog(QWidget* owner, const std::vector<std::string>& names);

  // Board `board` (in the order named) has taken `blocks` of the eight.
  void SetBlocks(std::size_t board, int blocks);
  // Board `board` is done; `text` says how it went, `ok` whether it took the image.
  void SetDone(std::size_t board, const QString& text, bool ok);
  // What a row shows now, for tests.
  QString RowText(std::size_t board) const;

  void reject() override {}  // Escape does not end a transfer half-way

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Row {
    QProgressBar* bar = nullptr;
    QLabel* state = nullptr;
  };
  std::vector<Row> rows_;
};

}  // namespace pendra2::ui
