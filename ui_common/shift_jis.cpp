#include "ui_common/shift_jis.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace pendra2::ui {
namespace {

// The Windows code page the files come from (Shift JIS with the NEC and IBM extensions);
// Qt's ICU backend knows it under this name.
constexpr const char* kCodePage = "windows-31j";

bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Whether the text ends in the first half of a double-byte character (a name cut short).
bool EndsInsideCharacter(std::string_view sjis) {
  std::size_t i = 0;
  while (i < sjis.size()) {
    if (!IsLeadByte(static_cast<unsigned char>(sjis[i]))) {
      ++i;
    } else if (i + 1 < sjis.size()) {
      i += 2;
    } else {
      return true;
    }
  }
  return false;
}

}  // namespace

std::string ShiftJisToUtf8(std::string_view sjis) {
  QStringDecoder decoder(kCodePage, QStringDecoder::Flag::Stateless);
  const bool cut = EndsInsideCharacter(sjis);
  const std::string_view whole = cut ? sjis.substr(0, sjis.size() - 1) : sjis;
  QString text = decoder.decode(QByteArrayView(whole.data(), qsizetype(whole.size())));
  // ICU marks bytes it cannot map with SUB; show them as the usual replacement character.
  if (whole.find('\x1A') == std::string_view::npos) text.replace(QChar(0x1A), QChar(0xFFFD));
  if (cut) text += QChar(0xFFFD);
  return text.toStdString();
}

std::optional<std::string> Utf8ToShiftJis(std::string_view utf8) {
  QStringEncoder encoder(kCodePage, QStringEncoder::Flag::Stateless);
  const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
  const QByteArray bytes = encoder.encode(text);
  if (!encoder.isValid() || encoder.hasError()) return std::nullopt;
  return bytes.toStdString();
}

}  // namespace pendra2::ui
