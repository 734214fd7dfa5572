#include "ui_common/draw_list_painter.h"

#include <QFile>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPolygon>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "ui_common/bitmaps.h"
#include "ui_common/fonts.h"

namespace pendra2::ui {
namespace {

using interaction::BitmapItem;
using interaction::DrawItem;
using interaction::DrawList;
using interaction::FillItem;
using interaction::LineItem;
using interaction::Point;
using interaction::Rect;
using interaction::TextItem;

QColor ColourOf(interaction::Colour colour) {
  return QColor::fromRgb(colour.rgb);
}

QRect Normalised(const Rect& r) {
  const int left = std::min(r.left, r.right);
  const int top = std::min(r.top, r.bottom);
  return QRect(left, top, std::abs(r.Width()), std::abs(r.Height()));
}

}  // namespace

// Artwork is fetched at most once per cache: a flowchart repaint copies the same blank
// strip twenty-odd times.
class ArtCache {
 public:
  // Vector artwork; null when the name has only a raster picture or none at all.
  QSvgRenderer* Vector(const std::string& name) {
    auto it = vectors_.find(name);
    if (it != vectors_.end()) return it->second.get();
    const QString path = QStringLiteral(":/art/%1.svg").arg(QString::fromStdString(name));
    std::unique_ptr<QSvgRenderer> renderer;
    if (QFile::exists(path)) {
      renderer = std::make_unique<QSvgRenderer>(path);
      if (!renderer->isValid()) renderer.reset();
    }
    return vectors_.emplace(name, std::move(renderer)).first->second.get();
  }

  const QImage& Raster(const std::string& name) {
    auto it = rasters_.find(name);
    if (it == rasters_.end()) {
      it = rasters_.emplace(name, LoadBitmap(QString::fromStdString(name))).first;
    }
    return it->second;
  }

 private:
  std::map<std::string, std::unique_ptr<QSvgRenderer>> vectors_;
  std::map<std::string, QImage> rasters_;
};

namespace {

void PaintText(QPainter& painter, const TextItem& item) {
  const int dpiY = painter.device() ? painter.device()->logicalDpiY() : 96;
  const QFont font = MakeFont(item.font, dpiY);
  painter.setFont(font);
  painter.setRenderHint(QPainter::TextAntialiasing, item.font.antialiased);
  const QFontMetrics metrics(font, painter.device());
  // The position is the top of the character cell, the painter's is the baseline.
  painter.drawText(QPoint(item.at.x, item.at.y + metrics.ascent()),
                   QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size())));
}

void PaintBitmap(QPainter& painter, ArtCache& art, const BitmapItem& item) {
  if (item.dest.Empty()) return;
  const QRect dest = Normalised(item.dest);
  if (QSvgRenderer* svg = art.Vector(item.name)) {
    // Drawn as vectors, so printed symbols stay sharp at any resolution; a part of the
    // picture is shown by narrowing the view box to it.
    const QRect whole(QPoint(0, 0), svg->defaultSize());
    const QRect part = item.source.Empty() ? whole : Normalised(item.source);
    svg->setViewBox(QRectF(part));
    painter.save();
    painter.setClipRect(dest, Qt::IntersectClip);
    svg->render(&painter, QRectF(dest));
    painter.restore();
    svg->setViewBox(QRectF(whole));
    return;
  }
  const QImage& image = art.Raster(item.name);
  if (image.isNull()) return;  // missing artwork draws nothing
  const QRect part = item.source.Empty() ? image.rect() : Normalised(item.source);
  painter.drawImage(dest, image, part);
}

void PaintFill(QPainter& painter, const FillItem& item) {
  painter.fillRect(Normalised(item.rect), ColourOf(item.colour));
}

// The pixels of a hairline from `from` to `to` without `to` itself, stepping along the
// longer axis and rounding the other one as the platform's line drawing does.
void HairlineWithoutEnd(QPainter& painter, QColor colour, Point from, Point to) {
  const int dx = to.x - from.x;
  const int dy = to.y - from.y;
  const int steps = std::max(std::abs(dx), std::abs(dy));
  const int64_t twoSteps = int64_t{2} * steps;
  for (int i = 0; i < steps; ++i) {
    // Exact integer rounding, half away from zero, of from + i / steps of the way.
    const auto along = [&](int start, int delta) {
      const int64_t scaled = int64_t{2} * delta * i;
      const int64_t rounded =
          scaled >= 0 ? (scaled + steps) / twoSteps : -((-scaled + steps) / twoSteps);
      return start + static_cast<int>(rounded);
    };
    painter.fillRect(QRect(along(from.x, dx), along(from.y, dy), 1, 1), colour);
  }
}

void PaintLine(QPainter& painter, const LineItem& item) {
  if (item.points.size() < 2) return;
  if (item.width <= 1) {
    // A hairline paints every point it passes except its very last one: a run ending on
    // a row or column leaves that pixel to whatever meets it there.
    const QColor colour = ColourOf(item.colour);
    for (std::size_t i = 1; i < item.points.size(); ++i) {
      HairlineWithoutEnd(painter, colour, item.points[i - 1], item.points[i]);
    }
    return;
  }
  QPolygon polygon;
  for (const Point& p : item.points) polygon << QPoint(p.x, p.y);
  painter.setPen(
      QPen(ColourOf(item.colour), item.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPolyline(polygon);
}

// Where an item can leave pixels. A text's cell runs to the right of its corner, as wide
// as the line is; its height is taken generously from the font size.
QRect Reach(const DrawItem& item, int dpiY) {
  if (const auto* text = std::get_if<TextItem>(&item)) {
    const int height = text->font.points * dpiY / 72 * 2 + 4;
    return QRect(text->at.x, text->at.y, 1 << 20, height);
  }
  if (const auto* bitmap = std::get_if<BitmapItem>(&item)) return Normalised(bitmap->dest);
  if (const auto* fill = std::get_if<FillItem>(&item)) return Normalised(fill->rect);
  const auto& line = std::get<LineItem>(item);
  if (line.points.empty()) return {};
  QRect box(QPoint(line.points[0].x, line.points[0].y), QSize(1, 1));
  for (const Point& p : line.points) box |= QRect(QPoint(p.x, p.y), QSize(1, 1));
  const int pen = std::max(line.width, 1);
  return box.adjusted(-pen, -pen, pen, pen);
}

void PaintItems(QPainter& painter, const DrawList& list, ArtCache& art, const QRect* exposed) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  const int dpiY = painter.device() ? painter.device()->logicalDpiY() : 96;
  for (const DrawItem& item : list.items) {
    if (exposed && !Reach(item, dpiY).intersects(*exposed)) continue;
    if (const auto* text = std::get_if<TextItem>(&item)) {
      painter.setPen(ColourOf(text->colour));
      PaintText(painter, *text);
    } else if (const auto* bitmap = std::get_if<BitmapItem>(&item)) {
      PaintBitmap(painter, art, *bitmap);
    } else if (const auto* fill = std::get_if<FillItem>(&item)) {
      PaintFill(painter, *fill);
    } else if (const auto* line = std::get_if<LineItem>(&item)) {
      PaintLine(painter, *line);
    }
  }
  painter.restore();
}

}  // namespace

PaintCache::PaintCache() : art_(std::make_unique<ArtCache>()) {}
PaintCache::~PaintCache() = default;

void PaintDrawList(QPainter& painter, const interaction::DrawList& list) {
  ArtCache art;
  PaintItems(painter, list, art, nullptr);
}

void PaintDrawList(QPainter& painter, const interaction::DrawList& list, PaintCache& cache,
                   const QRect& exposed) {
  PaintItems(painter, list, cache.art(), &exposed);
}

}  // namespace pendra2::ui
