#include "melody_ui/score_print_job.h"

#include "ui_common/print_pages_painter.h"

namespace pendra2::melody_ui {

bool PrintScore(QPrinter& printer, const melody::Score& score) {
  return ui::PaintPages(printer, ScorePages(score, ui::PrinterGeometry(printer)));
}

}  // namespace pendra2::melody_ui
