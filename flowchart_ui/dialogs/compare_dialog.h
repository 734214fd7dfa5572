#pragma once
// 215 "分岐設定": branch on input 1 compared with input 2, with live readings of both.

#include "flowchart_ui/dialogs/live_reading_dialog.h"

namespace pendra2::flowchart_ui {

class CompareDialog : public LiveReadingDialog {
  Q_OBJECT

 public:
  // `board` may be null: the reading then finds no board.
  CompareDialog(BoardReader* board, QWidget* parent);

  RadioGroup& comparison() { return comparison_; }  // 1006, 1008, 1007

 private:
  void ReadOnce(RoundDone done) override;

  RadioGroup comparison_{this};
  QLabel* input1_ = nullptr;
  QLabel* input2_ = nullptr;
};

}  // namespace pendra2::flowchart_ui
