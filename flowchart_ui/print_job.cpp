#include "flowchart_ui/print_job.h"

#include "ui_common/print_pages_painter.h"
#include "ui_common/shift_jis.h"

namespace pendra2::flowchart_ui {

bool PrintFlowchart(QPrinter& printer, const flowchart::FlowProgram& program,
                    const std::string& documentTitle) {
  const flowchart::ShiftJisDecoder decode = [](std::string_view sjis) {
    return ui::ShiftJisToUtf8(sjis);
  };
  const std::vector<interaction::DrawList> pages =
      PrintPages(program, documentTitle, ui::PrinterGeometry(printer), decode);
  return ui::PaintPages(printer, pages);
}

}  // namespace pendra2::flowchart_ui
