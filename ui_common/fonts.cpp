#include "ui_common/fonts.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace pendra2::ui {

QStringList GothicFamilies() {
  return {QString::fromUtf8(kGothicFace), QStringLiteral("IPAGothic"),
          QStringLiteral("IPAゴシック"), QStringLiteral("Noto Sans CJK JP"),
          QStringLiteral("Noto Sans Mono CJK JP")};
}

int FontPixelHeight(int points, int dpiY) {
  // Rounds half away from zero, so the character heights the layouts were measured with
  // (8 points at 96 dpi is 11 pixels) come out exactly.
  const int64_t product = static_cast<int64_t>(points) * dpiY;
  const int64_t magnitude = (std::llabs(product) + 36) / 72;
  return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

QFont MakeFont(const interaction::FontSpec& fontSpec, int dpiY) {
  QFont font;
  font.setFamilies(GothicFamilies());
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(1, FontPixelHeight(fontSpec.points, dpiY)));
  font.setWeight(static_cast<QFont::Weight>(std::clamp(fontSpec.weight, 100, 900)));
  font.setStyleStrategy(fontSpec.antialiased ? QFont::PreferAntialias : QFont::PreferDefault);
  return font;
}

}  // namespace pendra2::ui
