#include "ui_common/about_box.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace pendra2::ui {
namespace {

QLabel* NamedLabel(const char* text, int id, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(QString::number(id));
  return label;
}

}  // namespace

AboutBox::AboutBox(const AboutBoxTexts& texts, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("103"));
  setWindowTitle(QString::fromUtf8(texts.title));

  auto* icon = new QLabel(this);
  icon->setPixmap(
      QPixmap::fromImage(texts.icon.scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
  // OK closes the box; Escape does too, as in every dialog.
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
  layout->addWidget(new QLabel(QString::fromUtf8(texts.name), this), 0, 1, 1, 2);
  layout->addWidget(new QLabel(QString::fromUtf8(texts.versionLabel), this), 1, 1);
  layout->addWidget(NamedLabel(texts.version, texts.versionId, this), 1, 2);
  layout->addWidget(new QLabel(QStringLiteral("Build"), this), 2, 1);
  layout->addWidget(NamedLabel(texts.build, texts.buildId, this), 2, 2);
  layout->addWidget(ok, 3, 2, Qt::AlignRight);
  layout->setColumnStretch(2, 1);
  layout->setHorizontalSpacing(16);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace pendra2::ui
