#include "ui_common/print_pages_painter.h"

#include <QPainter>
#include <QPrinter>

#include "ui_common/draw_list_painter.h"

namespace pendra2::ui {

interaction::PageGeometry PrinterGeometry(const QPrinter& printer) {
  const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
  const QRectF page = printer.pageRect(QPrinter::DevicePixel);
  interaction::PageGeometry g;
  g.offX = static_cast<int>(page.left() - paper.left());
  g.offY = static_cast<int>(page.top() - paper.top());
  g.horzRes = static_cast<int>(page.width());
  g.vertRes = static_cast<int>(page.height());
  return g;
}

bool PaintPages(QPrinter& printer, std::span<const interaction::DrawList> pages) {
  printer.setDocName(QString::fromUtf8(kPrintDocumentName));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0 && !printer.newPage()) return false;
    PaintDrawList(painter, pages[p]);
  }
  return painter.end();
}

}  // namespace pendra2::ui
