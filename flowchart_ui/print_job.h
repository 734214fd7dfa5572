#pragma once
// Printing the flowchart on a printer the caller has chosen (the print dialog belongs to
// the editor window) or on a PDF printer.

#include <string>

#include "flowchart/flow_program.h"
#include "flowchart_ui/print_pages.h"

class QPrinter;

namespace pendra2::flowchart_ui {

// Prints every page of the program under the document name "スコア印刷". False when the
// printer cannot be opened; the caller tells the user (ui::kPrinterErrorText).
bool PrintFlowchart(QPrinter& printer, const flowchart::FlowProgram& program,
                    const std::string& documentTitle);

}  // namespace pendra2::flowchart_ui
