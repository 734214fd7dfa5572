#include "melody_ui/score_print_job.h"

#include <QPainter>
#include <QPrinter>

#include "ui_common/draw_list_painter.h"

namespace pendra2::melody_ui {

PageGeometry PrinterGeometry(const QPrinter& printer) {
  const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
  const QRectF page = printer.pageRect(QPrinter::DevicePixel);
  PageGeometry g;
  g.offX = static_cast<int>(page.left() - paper.left());
  g.offY = static_cast<int>(page.top() - paper.top());
  g.horzRes = static_cast<int>(page.width());
  g.vertRes = static_cast<int>(page.height());
  return g;
}

bool PrintScore(QPrinter& printer, const melody::Score& score) {
  printer.setDocName(QString::fromUtf8(kPrintDocumentName));
  const std::vector<interaction::DrawList> pages = ScorePages(score, PrinterGeometry(printer));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0) printer.newPage();
    ui::PaintDrawList(painter, pages[p]);
  }
  return painter.end();
}

}  // namespace pendra2::melody_ui
