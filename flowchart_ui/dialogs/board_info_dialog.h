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

  // Asks for the board's information, once, as the dialog first shows; the fields show it
  // when the answer comes. A board that lets the reply wait run out leaves the fields as the
  // reply buffer held them and a note that it did not answer.
  void Query();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Show(const InfoReply& reply);

  BoardReader* board_;
  bool asked_ = false;
  QLabel* note_ = nullptr;
};

}  // namespace pendra2::flowchart_ui
