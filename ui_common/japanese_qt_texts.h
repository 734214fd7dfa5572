#pragma once
// Qt's own texts in Japanese, as every other text of the suite: the buttons of the message
// boxes (はい, いいえ, キャンセル), the file and print dialogs. The texts the programs give
// themselves (captions such as "Error Message") are not translated; they stay as written.

#include <QTranslator>
#include <memory>
#include <vector>

class QCoreApplication;

namespace pendra2::ui {

// For the life of the object; made in main() beside the application. Without the
// translations installed (qt6-translations-l10n) Qt's texts stay English, and nothing fails.
class JapaneseQtTexts {
 public:
  explicit JapaneseQtTexts(QCoreApplication& app);
  ~JapaneseQtTexts();
  JapaneseQtTexts(const JapaneseQtTexts&) = delete;
  JapaneseQtTexts& operator=(const JapaneseQtTexts&) = delete;

  // Whether Qt's base texts were found and are in use.
  bool loaded() const { return loaded_; }

 private:
  std::vector<std::unique_ptr<QTranslator>> translators_;
  bool loaded_ = false;
};

}  // namespace pendra2::ui
