#include "flowchart_ui/print_job.h"

#include <QPainter>
#include <QPrinter>

#include "ui_common/draw_list_painter.h"
#include "ui_common/shift_jis.h"

namespace pendra2::flowchart_ui {

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

bool PrintFlowchart(QPrinter& printer, const flowchart::FlowProgram& program,
                    const std::string& documentTitle) {
  printer.setDocName(QString::fromUtf8(kPrintDocumentName));
  const PageGeometry geometry = PrinterGeometry(printer);
  const flowchart::ShiftJisDecoder decode = [](std::string_view sjis) {
    return ui::ShiftJisToUtf8(sjis);
  };
  const std::vector<interaction::DrawList> pages = PrintPages(program, documentTitle, geometry, decode);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0) printer.newPage();
    ui::PaintDrawList(painter, pages[p]);
  }
  return painter.end();
}

}  // namespace pendra2::flowchart_ui
