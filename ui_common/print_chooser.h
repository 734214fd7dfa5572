#pragma once
// The print dialog as the editors ask for it: the user picks a printer (or, in a replayed
// session, the script names a PDF file) and the QPrinter is set up for it.

#include <QPointer>
#include <QPrinter>
#include <QWidget>

namespace pendra2::ui {

class PrintChooser {
 public:
  virtual ~PrintChooser() = default;
  // Sets up `printer` as chosen; false when the dialog was cancelled and nothing may print.
  virtual bool Choose(QPrinter& printer, QWidget* owner) = 0;
};

// The platform's print dialog.
class QtPrintChooser final : public PrintChooser {
 public:
  bool Choose(QPrinter& printer, QWidget* owner) override;
};

}  // namespace pendra2::ui
