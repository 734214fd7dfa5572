#include "flowchart_ui/dialogs/live_reading_dialog.h"

#include <QGridLayout>
#include <QLabel>

namespace pendra2::flowchart_ui {

LiveReadingDialog::LiveReadingDialog(int templateId, const char* title, BoardReader* board,
                                     QWidget* parent)
    : TemplateDialog(templateId, title, parent), board_(board) {}

void LiveReadingDialog::AttachReading(QPushButton* toggle, QGridLayout& grid, int noteRow) {
  auto* note = new QLabel(grid.parentWidget());
  note->setMinimumHeight(note->fontMetrics().height());
  grid.addWidget(note, noteRow, 0, 1, -1);
  reading_ = new LiveReading(
      toggle, note,
      [this](RoundDone done) {
        if (board_ == nullptr) {
          done(RoundResult::kNoBoard);
        } else {
          ReadOnce(std::move(done));
        }
      },
      this);
}

void LiveReadingDialog::accept() {
  reading_->Stop();
  TemplateDialog::accept();
}

void LiveReadingDialog::done(int result) {
  reading_->Stop();
  TemplateDialog::done(result);
}

}  // namespace pendra2::flowchart_ui
