#pragma once
// Both editors' artwork tests check every picture against the size its placement needs;
// with PENDRA2_ART_SHEET=FILE.png they also paint all of them onto one labelled sheet, so
// the artwork can be looked at as a whole (docs/*_artwork.png).

#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <utility>
#include <vector>

#include "ui_common/bitmaps.h"

namespace pendra2::testing {

// Pictures of one size, in the order the sheet shows them.
using ArtGroups = std::vector<std::pair<QSize, QStringList>>;

// The pictures in rows of at most `kWidth` pixels, each with its name under it.
inline QImage ArtSheet(const ArtGroups& groups) {
  constexpr int kWidth = 1100, kGap = 14, kLabel = 14;
  QImage sheet(kWidth, 1600, QImage::Format_RGB32);
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
      painter.drawImage(x, y, ui::LoadBitmap(name));
      painter.drawText(x, y + size.height() + 11, name);
      x += std::max(size.width(), 7 * static_cast<int>(name.size())) + kGap;
      rowHeight = std::max(rowHeight, size.height());
    }
  }
  painter.end();
  return sheet.copy(0, 0, kWidth, y + rowHeight + kLabel + kGap);
}

// Every picture exists at its size; the sheet is painted when asked for.
inline void CheckArtwork(const ArtGroups& groups) {
  for (const auto& [size, names] : groups) {
    for (const QString& name : names) {
      EXPECT_EQ(ui::BitmapSize(name), size) << name.toStdString();
      EXPECT_EQ(ui::LoadBitmap(name).size(), size) << name.toStdString();
    }
  }
  if (const QByteArray path = qgetenv("PENDRA2_ART_SHEET"); !path.isEmpty()) {
    EXPECT_TRUE(ArtSheet(groups).save(QString::fromLocal8Bit(path)));
  }
}

}  // namespace pendra2::testing
