#pragma once
// 207 "分岐設定": branch when an input reaches or stays below a threshold; the threshold can
// be taken from a live reading of the chosen input.

#include "flowchart_ui/dialogs/live_reading_dialog.h"

namespace pendra2::flowchart_ui {

class BranchDialog : public LiveReadingDialog {
  Q_OBJECT

 public:
  // `board` may be null: the reading then finds no board.
  BranchDialog(BoardReader* board, QWidget* parent);

  RadioGroup& comparison() { return comparison_; }  // 1003, 1004
  RadioGroup& input() { return input_; }            // 1101..1103

 private:
  void ReadOnce(RoundDone done) override;

  RadioGroup comparison_{this};
  RadioGroup input_{this};
  QLabel* shown_ = nullptr;
};

}  // namespace pendra2::flowchart_ui
