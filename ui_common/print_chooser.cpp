#include "ui_common/print_chooser.h"

#include <QPrintDialog>

namespace pendra2::ui {

bool QtPrintChooser::Choose(QPrinter& printer, QWidget* owner) {
  QPrintDialog dialog(&printer, owner);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace pendra2::ui
