#include "flowchart_ui/dialogs/orgel_dialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pendra2::flowchart_ui {

OrgelDialog::OrgelDialog(QWidget* parent) : TemplateDialog(185, "オルゴール", parent) {
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  // The path is only shown: the tune comes from the file the browse button reads.
  QLineEdit* path = NewEdit(3001, this, 40);
  path->setReadOnly(true);
  grid->addWidget(path, 0, 0);
  QPushButton* browse = NewButton(1002, "参照", this);
  grid->addWidget(browse, 0, 1);
  listenButton_ = NewButton(1015, "試聴", this);
  grid->addWidget(listenButton_, 1, 1);
  size_ = new QLabel(this);
  size_->setObjectName(QStringLiteral("1014"));
  grid->addWidget(size_, 1, 0);
  layout->addLayout(grid);
  layout->addSpacing(4);
  layout->addLayout(NewButtonRow());
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(browse, &QPushButton::clicked, this, [this] {
    if (browse_) browse_();
  });
  connect(listenButton_, &QPushButton::clicked, this, [this] {
    if (listen_) listen_();
  });
  ShowTune({}, {});
}

void OrgelDialog::ShowTune(const QString& path, const QString& size, bool hasTune) {
  Edit(3001)->setText(path);
  size_->setText(size);
  listenButton_->setEnabled(hasTune);
}

void OrgelDialog::ShowListening(bool listening) {
  listenButton_->setText(Text(listening ? "停止" : "試聴"));
}

}  // namespace pendra2::flowchart_ui
