#include "ui_common/bitmaps.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace pendra2::ui {
namespace {

QString SvgPath(const QString& name) {
  return QStringLiteral(":/art/%1.svg").arg(name);
}
QString PngPath(const QString& name) {
  return QStringLiteral(":/art/%1.png").arg(name);
}

QImage RenderSvg(const QString& path, QSize pixels) {
  QSvgRenderer renderer(path);
  if (!renderer.isValid()) return {};
  if (pixels.isEmpty()) pixels = renderer.defaultSize();
  QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  return image;
}

}  // namespace

QImage LoadBitmap(const QString& name) {
  return LoadBitmap(name, QSize());
}

QImage LoadBitmap(const QString& name, QSize pixels) {
  if (QFile::exists(SvgPath(name))) return RenderSvg(SvgPath(name), pixels);
  QImage png(PngPath(name));
  if (png.isNull() || pixels.isEmpty() || png.size() == pixels) return png;
  return png.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QSize BitmapSize(const QString& name) {
  if (QFile::exists(SvgPath(name))) return QSvgRenderer(SvgPath(name)).defaultSize();
  return QImage(PngPath(name)).size();
}

}  // namespace pendra2::ui
