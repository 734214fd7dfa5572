#include "launcher/background_canvas.h"

#include <QPaintEvent>
#include <QPainter>

#include "launcher/launcher_texts.h"
#include "ui_common/bitmaps.h"

namespace pendra2::launcher {
namespace {

// The window's background brush, red 200, green 230, blue 180.
constexpr QColor kBackgroundColour(200, 230, 180);
constexpr QSize kPictureSize(500, 400);

}  // namespace

BackgroundCanvas::BackgroundCanvas(QWidget* parent)
    : QWidget(parent), picture_(ui::LoadBitmap(QString::fromUtf8(kBackgroundArt), kPictureSize)) {
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kBackgroundColour);
  setPalette(palette);
  setAutoFillBackground(true);
}

void BackgroundCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setClipRegion(event->region());
  if (!picture_.isNull()) painter.drawImage(QPoint(0, 0), picture_);
}

}  // namespace pendra2::launcher
