#include "flowchart_ui/tool_cursors.h"

#include <QPixmap>

#include "ui_common/bitmaps.h"

namespace pendra2::flowchart_ui {
namespace {

using flowchart::EditMode;

constexpr int kCursorSize = 32;
// The arrow's tip in every cursor picture.
constexpr int kHotSpot = 1;

bool DrawsALine(EditMode mode) {
  return mode == EditMode::kInsertBranch || mode == EditMode::kInsertCompare ||
         mode == EditMode::kInsertVarCompare;
}

}  // namespace

std::string CommandCursorName(EditMode mode) {
  if (mode == EditMode::kDelete) return "CURDEL";
  if (mode == EditMode::kInsertLoop || DrawsALine(mode)) return "CURLIN";
  if (flowchart::IsInsertTool(mode)) return "CURINS";
  return {};
}

std::string MoveCursorName(EditMode mode) {
  if (mode == EditMode::kInsertLoop) return "CURLEND";
  return CommandCursorName(mode);
}

ToolCursors::ToolCursors() {
  for (const char* name : {"CURDEL", "CURINS", "CURLIN", "CURLEND"}) {
    const QImage picture =
        ui::LoadBitmap(QString::fromLatin1(name), QSize(kCursorSize, kCursorSize));
    if (picture.isNull()) continue;  // missing artwork: the arrow stands in
    cursors_.emplace(name, QCursor(QPixmap::fromImage(picture), kHotSpot, kHotSpot));
  }
}

QCursor ToolCursors::Get(const std::string& name) const {
  const auto it = cursors_.find(name);
  return it == cursors_.end() ? QCursor(Qt::ArrowCursor) : it->second;
}

}  // namespace pendra2::flowchart_ui
