#include "flowchart_ui/dialogs/board_info_dialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>

#include "flowchart_ui/dialogs/live_reading.h"

namespace pendra2::flowchart_ui {
namespace {

struct Field {
  const char* label;
  int id;
  const char* before;  // shown until the reply is in
};

constexpr Field kFields[] = {
    {"Pendra テストステータス:", 1046, "NG"},
    {"バージョン:", 1052, "NUN-------"},
    {"Build No  :", 1053, "NUN-------"},
    {"Release Date:", 1054, "NoDate--"},
};

}  // namespace

BoardInfoDialog::BoardInfoDialog(BoardReader* board, QWidget* parent)
    : TemplateDialog(213, "Pendra バージョン情報", parent), board_(board) {
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  for (int row = 0; row < 4; ++row) {
    grid->addWidget(NewLabel(kFields[row].label, this), row, 0);
    grid->addWidget(NewValueBox(kFields[row].id, Text(kFields[row].before), this, 12), row, 1);
  }
  layout->addLayout(grid);
  note_ = new QLabel(this);
  note_->setMinimumHeight(note_->fontMetrics().height());
  layout->addWidget(note_);
  layout->addLayout(NewButtonRow(false));
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void BoardInfoDialog::showEvent(QShowEvent* event) {
  TemplateDialog::showEvent(event);
  // Asked before anything can act in the dialog, so that opening it always asks the board,
  // however quickly it is closed again.
  Query();
}

void BoardInfoDialog::Query() {
  if (asked_) return;
  asked_ = true;
  if (board_ == nullptr) {
    Show(InfoReply{.boardFound = false});
    return;
  }
  board_->QueryInfo(this, [this](const InfoReply& reply) { Show(reply); });
}

void BoardInfoDialog::Show(const InfoReply& reply) {
  const std::string* texts[] = {&reply.info.testStatus, &reply.info.version,
                                &reply.info.buildNumber, &reply.info.releaseDate};
  for (int row = 0; row < 4; ++row) {
    if (auto* box = findChild<QLabel*>(QString::number(kFields[row].id))) {
      box->setText(
          QString::fromLatin1(texts[row]->data(), static_cast<qsizetype>(texts[row]->size())));
    }
  }
  if (!reply.answered) {
    note_->setText(Text(reply.boardFound ? kBoardSilentNote : kNoBoardNote));
  }
}

}  // namespace pendra2::flowchart_ui
