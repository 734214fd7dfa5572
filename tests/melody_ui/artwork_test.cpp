// Every picture Chimecraft names exists at the size its placement needs. With
// PENDRA2_ART_SHEET=FILE.png the test also paints all of them onto one labelled sheet.

#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <utility>
#include <vector>

#include "melody_ui/score_view.h"
#include "ui_common/bitmaps.h"

namespace pendra2::melody_ui {
namespace {

using ui::BitmapSize;
using ui::LoadBitmap;

// Groups in the order the sheet shows them.
std::vector<std::pair<QSize, QStringList>> Groups() {
  std::vector<std::pair<QSize, QStringList>> groups{
      {{606, 431}, {"KEY"}},
      {{80, 431}, {"KEYF"}},
      {{26, 431}, {"BAR"}},
      {{24, 431}, {"Lin", "Lend", "Lpara"}},
      {{24, 17}, {"SC_ON", "SC_PLAY", "SC_OFF"}},
      {{50, 30},
       {"PICREC", "PICPLAY", "PICSTOP", "PCPLAY", "PCPARTPLAY", "PCSTOP", "CONNECT", "PREV",
        "FWD"}},
      {{60, 30}, {"SCRDEL", "SCRINS", "LOOPINS", "PAGEUP", "PAGEDOWN"}},
      {{32, 32}, {"CURINS", "CURDEL", "CURLIN", "CURLEND"}},
      {{64, 64}, {"CHIMECRAFT_ICON"}},
      {{16, 16}, {"CHIMECRAFT_ICON_SMALL"}},
  };
  for (int k = 1; k <= 23; ++k) {
    const KeyHighlight* key = KeyHighlightOf(k);
    groups.push_back({{key->width, key->height},
                      {QString::fromUtf8(key->image.data(), static_cast<int>(key->image.size()))}});
  }
  return groups;
}

// The pictures in rows of at most `width` pixels, each with its name under it.
QImage Sheet(const std::vector<std::pair<QSize, QStringList>>& groups) {
  constexpr int kWidth = 1100, kGap = 14, kLabel = 14;
  QImage sheet(kWidth, 1100, QImage::Format_RGB32);
  sheet.fill(QColor(0xf4, 0xf1, 0xea));
  QPainter painter(&sheet);
  QFont font;
  font.setPixelSize(10);
  painter.setFont(font);
  int x = kGap, y = kGap, rowHeight = 0;
  for (const auto& [size, names] : groups) {
    for (const QString& name : names) {
      if (x + size.width() > kWidth - kGap) {
        x = kGap;
        y += rowHeight + kLabel + kGap;
        rowHeight = 0;
      }
      painter.fillRect(QRect(QPoint(x, y), size), Qt::white);
      painter.drawImage(x, y, LoadBitmap(name));
      painter.drawText(x, y + size.height() + 11, name);
      x += std::max(size.width(), 7 * static_cast<int>(name.size())) + kGap;
      rowHeight = std::max(rowHeight, size.height());
    }
  }
  painter.end();
  return sheet.copy(0, 0, kWidth, y + rowHeight + kLabel + kGap);
}

TEST(ChimecraftArtwork, EveryPictureExistsAtItsPixelSize) {
  const auto groups = Groups();
  for (const auto& [size, names] : groups) {
    for (const QString& name : names) {
      EXPECT_EQ(BitmapSize(name), size) << name.toStdString();
      EXPECT_EQ(LoadBitmap(name).size(), size) << name.toStdString();
    }
  }
  // The highlights differ from the keys they light up.
  const QImage keyboard = LoadBitmap("KEYF");
  for (int k = 1; k <= 23; ++k) {
    const KeyHighlight* key = KeyHighlightOf(k);
    const QString name = QString::fromUtf8(key->image.data(), static_cast<int>(key->image.size()));
    EXPECT_NE(LoadBitmap(name), keyboard.copy(0, key->y, key->width, key->height)) << key->image;
  }
  if (const QByteArray path = qgetenv("PENDRA2_ART_SHEET"); !path.isEmpty()) {
    EXPECT_TRUE(Sheet(groups).save(QString::fromLocal8Bit(path)));
  }
}

}  // namespace
}  // namespace pendra2::melody_ui
