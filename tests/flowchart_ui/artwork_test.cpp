#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <string>
#include <utility>
#include <vector>

#include "ui_common/bitmaps.h"
#include "ui_common/draw_list_painter.h"

namespace {

using pendra2::ui::BitmapSize;
using pendra2::ui::LoadBitmap;

std::vector<std::string> SymbolNames() {
  return {"S_START",   "S_TASK",     "S_WAIT",     "S_LOOPIN",  "S_LOOPIN2", "S_LOOPIN3",
          "S_LOOPOUT", "S_LOOPOUT2", "S_LOOPOUT3", "S_BLANCH",  "S_BLANCH1", "S_BLANCH2",
          "S_BLANCH3", "S_GOTO",     "S_TASK2",    "S_BLANCHA", "S_ACCM",    "S_END"};
}

std::vector<std::pair<std::string, QSize>> Artwork() {
  std::vector<std::pair<std::string, QSize>> all;
  for (const auto& name : SymbolNames()) {
    all.emplace_back(name, QSize(96, 48));
    all.emplace_back(name + "_S", QSize(96, 48));
  }
  all.emplace_back("S_BLANK1", QSize(460, 48));
  all.emplace_back("S_CIRCLE", QSize(30, 30));
  all.emplace_back("TBBK", QSize(164, 412));
  for (const char* tool : {"TASK", "TASK2", "GOTO", "WAIT", "BLANCH", "SCRDEL", "LOOP", "EXTOUT",
                           "COMPARE", "VARA", "VARB", "VARCMP"}) {
    all.emplace_back(tool, QSize(60, 30));
  }
  for (const char* button : {"PICREC", "PICPLAY", "PICSTOP", "AUTOOFF", "AUTOON"}) {
    all.emplace_back(button, QSize(50, 30));
  }
  for (const char* cursor : {"CURDEL", "CURINS", "CURLIN", "CURLEND"}) {
    all.emplace_back(cursor, QSize(32, 32));
  }
  all.emplace_back("STEPCRAFT_ICON", QSize(64, 64));
  all.emplace_back("STEPCRAFT_ICON_SMALL", QSize(16, 16));
  return all;
}

TEST(StepcraftArtwork, EveryPictureExistsAtItsPixelSize) {
  for (const auto& [name, size] : Artwork()) {
    const QString qname = QString::fromStdString(name);
    EXPECT_EQ(BitmapSize(qname), size) << name;
    const QImage image = LoadBitmap(qname);
    ASSERT_FALSE(image.isNull()) << name;
    // Something is drawn: not one flat colour.
    const QRgb corner = image.pixel(0, 0);
    bool varied = false;
    for (int y = 0; y < image.height() && !varied; ++y) {
      for (int x = 0; x < image.width() && !varied; ++x) varied = image.pixel(x, y) != corner;
    }
    EXPECT_TRUE(varied || name == "S_BLANK1") << name;
  }
}

TEST(StepcraftArtwork, SymbolsAreOpaqueLikeTheBitmapsTheyStandFor) {
  // Symbols are copied over the blank strips and the hover twin over the plain one, so
  // no pixel may let the picture below show through.
  for (const auto& name : SymbolNames()) {
    for (const std::string& variant : {name, name + "_S"}) {
      const QImage image = LoadBitmap(QString::fromStdString(variant));
      bool opaque = true;
      for (int y = 0; y < image.height() && opaque; ++y) {
        for (int x = 0; x < image.width() && opaque; ++x) opaque = qAlpha(image.pixel(x, y)) == 255;
      }
      EXPECT_TRUE(opaque) << variant;
    }
  }
}

TEST(StepcraftArtwork, HighlightedTwinDiffersFromThePlainSymbol) {
  for (const auto& name : SymbolNames()) {
    EXPECT_NE(LoadBitmap(QString::fromStdString(name)),
              LoadBitmap(QString::fromStdString(name + "_S")))
        << name;
  }
}

// Set PENDRA2_ART_SHEET=/some/file.png to get every picture on one sheet for a look.
TEST(StepcraftArtwork, ContactSheetOnRequest) {
  const QByteArray path = qgetenv("PENDRA2_ART_SHEET");
  if (path.isEmpty()) GTEST_SKIP() << "no sheet asked for";
  const int scale = 2;
  QImage sheet(1100 * scale, 1100 * scale, QImage::Format_RGB32);
  sheet.fill(QColor(235, 235, 235));
  QPainter painter(&sheet);
  painter.scale(scale, scale);
  pendra2::ui::DrawList list;
  int x = 10, y = 10, rowHeight = 0;
  for (const auto& [name, size] : Artwork()) {
    if (x + size.width() > 1090) {
      x = 10;
      y += rowHeight + 10;
      rowHeight = 0;
    }
    list.Bitmap(name, {x, y, x + size.width(), y + size.height()});
    x += size.width() + 10;
    rowHeight = std::max(rowHeight, size.height());
  }
  pendra2::ui::PaintDrawList(painter, list);
  painter.end();
  ASSERT_TRUE(sheet.save(QString::fromUtf8(path)));
}

}  // namespace
