#pragma once
// 213 "Pendra バージョン情報": the board's test status, version, build and release date,
// asked for as the dialog opens.

#include "flowchart_ui/board_reader.h"
#include "flowchart_ui/dialogs/template_dialog.h"

namespace pendra2::flowchart_ui {

inline constexpr const char* kBoardSilentNote = "ボードから応答がありません";

class BoardInfoDialog : public TemplateDialog {
  Q_OBJECT

 public:
  // `board` may be null (no board link): the fields then stay empty.
  BoardInfoDialog(BoardReader* board, QWidget* parent);

  // Sends the query and shows the fields. Runs once, just after the dialog first shows,
  // so a board that takes its whole reply wait is waited for with the dialog on screen.
  void Query();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  BoardReader* board_;
  bool asked_ = false;
  QLabel* note_ = nullptr;
};

}  // namespace pendra2::flowchart_ui
