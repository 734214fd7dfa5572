#include "flowchart_ui/tool_cursors.h"

#include <QPixmap>

#include "ui_common/bitmaps.h"

namespace pendra2::flowchart_ui {
namespace {

using flowchart::EditCursor;

constexpr int kCursorSize = 32;
// The arrow's tip in every cursor picture.
constexpr int kHotSpot = 1;

}  // namespace

ToolCursors::ToolCursors() {
  const struct {
    EditCursor cursor;
    const char* name;
  } kPictures[] = {{EditCursor::CURDEL, "CURDEL"},
                   {EditCursor::CURINS, "CURINS"},
                   {EditCursor::CURLIN, "CURLIN"},
                   {EditCursor::CURLEND, "CURLEND"}};
  for (const auto& p : kPictures) {
    const QImage picture =
        ui::LoadBitmap(QString::fromLatin1(p.name), QSize(kCursorSize, kCursorSize));
    if (picture.isNull()) continue;  // missing artwork: the arrow stands in
    cursors_.emplace(p.cursor, QCursor(QPixmap::fromImage(picture), kHotSpot, kHotSpot));
  }
}

QCursor ToolCursors::Get(EditCursor cursor) const {
  const auto it = cursors_.find(cursor);
  return it == cursors_.end() ? QCursor(Qt::ArrowCursor) : it->second;
}

}  // namespace pendra2::flowchart_ui
