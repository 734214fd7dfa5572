#pragma once
// A step dialog with a live reading of the board's inputs (the branch and compare dialogs).
// OK and every other way of closing stop the reading first, so no tick runs under a refusal
// message or after the dialog has gone.

#include "flowchart_ui/board_reader.h"
#include "flowchart_ui/dialogs/live_reading.h"
#include "flowchart_ui/dialogs/template_dialog.h"

class QGridLayout;

namespace pendra2::flowchart_ui {

class LiveReadingDialog : public TemplateDialog {
 public:
  LiveReading& reading() { return *reading_; }
  void accept() override;
  void done(int result) override;

 protected:
  // `board` may be null: the reading then finds no board.
  LiveReadingDialog(int templateId, const char* title, BoardReader* board, QWidget* parent);

  // The reading behind `toggle`, its note on row `noteRow` of `grid` across every column;
  // each tick calls ReadOnce, which tells `done` once the readings are shown.
  void AttachReading(QPushButton* toggle, QGridLayout& grid, int noteRow);
  virtual void ReadOnce(RoundDone done) = 0;

  BoardReader* board_;

 private:
  LiveReading* reading_ = nullptr;
};

}  // namespace pendra2::flowchart_ui
