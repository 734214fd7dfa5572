#pragma once
// Paints a draw list with QPainter on whatever device the painter is open on: a widget,
// a QImage or a QPrinter. Font sizes follow the device's vertical resolution.

#include <QPainter>
#include <QRect>
#include <memory>

#include "interaction/draw_list.h"

namespace pendra2::ui {

class ArtCache;

// The artwork a painted list asks for, read once and kept. A window that repaints many
// times a second (a running simulation lights step after step) keeps one, so its pictures
// are not read and parsed again at every paint.
class PaintCache {
 public:
  PaintCache();
  ~PaintCache();
  PaintCache(const PaintCache&) = delete;
  PaintCache& operator=(const PaintCache&) = delete;
  ArtCache& art() { return *art_; }

 private:
  std::unique_ptr<ArtCache> art_;
};

void PaintDrawList(QPainter& painter, const interaction::DrawList& list);
// Only the items that reach into `exposed` are painted (a widget's update of one row
// repaints that row): the others would be clipped away, after their text was laid out.
void PaintDrawList(QPainter& painter, const interaction::DrawList& list, PaintCache& cache,
                   const QRect& exposed);

}  // namespace pendra2::ui
