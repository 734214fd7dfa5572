#include "flowchart_ui/dialogs/about_dialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "ui_common/bitmaps.h"

namespace pendra2::flowchart_ui {

AboutDialog::AboutDialog(std::function<void(QWidget*)> showBoardInfo, QWidget* parent)
    : TemplateDialog(103, "バージョン情報 Pendra2 ステップクラフト　基本版", parent),
      showBoardInfo_(std::move(showBoardInfo)) {
  auto* layout = new QHBoxLayout(this);
  auto* icon = new QLabel(this);
  const QImage picture = ui::LoadBitmap(QStringLiteral("STEPCRAFT_ICON"), QSize(48, 48));
  if (!picture.isNull()) icon->setPixmap(QPixmap::fromImage(picture));
  layout->addWidget(icon, 0, Qt::AlignTop);
  layout->addSpacing(8);

  auto* text = new QVBoxLayout;
  auto* name = NewLabel(kProgramTitle, this);
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  text->addWidget(name);
  auto* grid = new QGridLayout;
  grid->addWidget(NewLabel("Version:", this), 0, 0);
  auto* version = new QLabel(Text(kVersionText), this);
  version->setObjectName(QStringLiteral("1034"));
  grid->addWidget(version, 0, 1);
  grid->addWidget(NewLabel("Build:", this), 1, 0);
  auto* build = new QLabel(Text(kBuildText), this);
  build->setObjectName(QStringLiteral("1035"));
  grid->addWidget(build, 1, 1);
  grid->setColumnStretch(2, 1);
  text->addLayout(grid);
  text->addStretch(1);
  layout->addLayout(text, 1);

  auto* buttons = new QVBoxLayout;
  auto* ok = new QPushButton(Text("OK"), this);
  ok->setObjectName(QString::number(kOkId));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  buttons->addWidget(ok);
  QPushButton* board = NewButton(1009, "Pendra Version", this);
  connect(board, &QPushButton::clicked, this, [this] {
    if (showBoardInfo_) showBoardInfo_(this);
  });
  buttons->addWidget(board);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace pendra2::flowchart_ui
