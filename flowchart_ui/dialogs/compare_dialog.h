#pragma once
// 215 "分岐設定": branch on input 1 compared with input 2, with live readings of both.

#include "flowchart_ui/board_reader.h"
#include "flowchart_ui/dialogs/live_reading.h"
#include "flowchart_ui/dialogs/template_dialog.h"

namespace pendra2::flowchart_ui {

class CompareDialog : public TemplateDialog {
  Q_OBJECT

 public:
  // `board` may be null: the reading then finds no board.
  CompareDialog(BoardReader* board, QWidget* parent);

  RadioGroup& comparison() { return comparison_; }  // 1006, 1008, 1007
  LiveReading& reading() { return *reading_; }
  // OK stops the reading before the entries are read, so no tick runs under a refusal.
  void accept() override;
  void done(int result) override;

 private:
  RoundResult ReadOnce();

  BoardReader* board_;
  RadioGroup comparison_{this};
  QLabel* input1_ = nullptr;
  QLabel* input2_ = nullptr;
  LiveReading* reading_ = nullptr;
};

}  // namespace pendra2::flowchart_ui
