#include "launcher/about_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>

#include "launcher/launcher_texts.h"
#include "ui_common/bitmaps.h"

namespace pendra2::launcher {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("103"));
  setWindowTitle(QString::fromUtf8(kAboutTitle));

  auto* icon = new QLabel(this);
  icon->setPixmap(QPixmap::fromImage(ui::LoadBitmap(QString::fromUtf8(kIconArt), QSize(48, 48))));
  auto* name = new QLabel(QString::fromUtf8(kWindowTitle), this);

  auto* versionLabel = new QLabel(QStringLiteral("Virsion"), this);
  auto* version = new QLabel(QString::fromUtf8(kProgramVersion), this);
  version->setObjectName(QString::number(kAboutVersionId));
  auto* buildLabel = new QLabel(QStringLiteral("Build"), this);
  auto* build = new QLabel(QString::fromUtf8(kBuildNumber), this);
  build->setObjectName(QString::number(kAboutBuildId));

  // OK and Cancel both just close the box; Escape gives Cancel.
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
  layout->addWidget(name, 0, 1, 1, 2);
  layout->addWidget(versionLabel, 1, 1);
  layout->addWidget(version, 1, 2);
  layout->addWidget(buildLabel, 2, 1);
  layout->addWidget(build, 2, 2);
  layout->addWidget(buttons, 3, 0, 1, 3);
  layout->setColumnStretch(2, 1);
  layout->setHorizontalSpacing(16);
  setSizeGripEnabled(false);
}

}  // namespace pendra2::launcher
