#include "ui_common/japanese_qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace pendra2::ui {

JapaneseQtTexts::JapaneseQtTexts(QCoreApplication& /*app*/) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  // qtbase holds the dialogs' and message boxes' texts; the others are loaded when present.
  for (const char* catalogue : {"qtbase", "qtmultimedia"}) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan),
                          QString::fromLatin1(catalogue), QStringLiteral("_"), folder)) {
      continue;
    }
    if (!QCoreApplication::installTranslator(translator.get())) continue;
    if (QLatin1String(catalogue) == QLatin1String("qtbase")) loaded_ = true;
    translators_.push_back(std::move(translator));
  }
}

JapaneseQtTexts::~JapaneseQtTexts() {
  for (const auto& translator : translators_) QCoreApplication::removeTranslator(translator.get());
}

}  // namespace pendra2::ui
