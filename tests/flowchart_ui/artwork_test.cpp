#include <gtest/gtest.h>

#include <QImage>
#include <QStringList>
#include <utility>

#include "support/art_sheet.h"
#include "ui_common/bitmaps.h"

namespace {

using pendra2::ui::LoadBitmap;

bool Opaque(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) != 255) return false;
    }
  }
  return true;
}

TEST(StepcraftArtwork, EveryPictureExistsAtItsPixelSize) {
  const std::pair<QSize, QString> groups[] = {
      {{96, 48},
       "S_START S_TASK S_WAIT S_LOOPIN S_LOOPIN2 S_LOOPIN3 S_LOOPOUT S_LOOPOUT2 "
       "S_LOOPOUT3 S_BLANCH S_BLANCH1 S_BLANCH2 S_BLANCH3 S_GOTO S_TASK2 S_BLANCHA "
       "S_ACCM S_END"},
      {{460, 48}, "S_BLANK1"},
      {{30, 30}, "S_CIRCLE"},
      {{164, 412}, "TBBK"},
      {{60, 30}, "TASK TASK2 GOTO WAIT BLANCH SCRDEL LOOP EXTOUT COMPARE VARA VARB VARCMP"},
      {{50, 30}, "PICREC PICPLAY PICSTOP AUTOOFF AUTOON"},
      {{32, 32}, "CURDEL CURINS CURLIN CURLEND"},
      {{64, 64}, "STEPCRAFT_ICON"},
      {{16, 16}, "STEPCRAFT_ICON_SMALL"}};
  pendra2::testing::ArtGroups sheet;
  for (const auto& [size, names] : groups) {
    sheet.push_back({size, names.split(' ')});
    if (size != QSize(96, 48)) continue;
    for (const QString& name : names.split(' ')) {
      // Symbols are copied over the blank strips and the hover twin over the plain one, so
      // no pixel may let the picture below show through.
      const QImage plain = LoadBitmap(name), lit = LoadBitmap(name + "_S");
      EXPECT_EQ(lit.size(), size) << name.toStdString();
      EXPECT_NE(plain, lit) << name.toStdString();
      EXPECT_TRUE(Opaque(plain) && Opaque(lit)) << name.toStdString();
      sheet.push_back({size, {name + "_S"}});
    }
  }
  pendra2::testing::CheckArtwork(sheet);
}

}  // namespace
