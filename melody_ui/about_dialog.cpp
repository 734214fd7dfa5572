#include "melody_ui/about_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "melody_ui/chime_texts.h"

namespace pendra2::melody_ui {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QString::number(kAboutDialog));
  setWindowTitle(QString::fromUtf8(kAboutTitle));

  auto* icon = new QLabel(this);
  icon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
  auto* name = new QLabel(QString::fromUtf8(kProgramTitle), this);
  auto* versionLabel = new QLabel(QStringLiteral("Version"), this);
  auto* version = new QLabel(QString::fromUtf8(kProgramVersion), this);
  version->setObjectName(QString::number(kAboutVersionId));
  auto* buildLabel = new QLabel(QStringLiteral("Build"), this);
  auto* build = new QLabel(QString::fromUtf8(kBuildNumber), this);
  build->setObjectName(QString::number(kAboutBuildId));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
  layout->addWidget(name, 0, 1, 1, 2);
  layout->addWidget(versionLabel, 1, 1);
  layout->addWidget(version, 1, 2);
  layout->addWidget(buildLabel, 2, 1);
  layout->addWidget(build, 2, 2);
  layout->addWidget(ok, 3, 2, Qt::AlignRight);
  layout->setHorizontalSpacing(16);
}

}  // namespace pendra2::melody_ui
