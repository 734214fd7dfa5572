#pragma once
// Printing the score on a printer the caller has chosen (the print dialog belongs to the
// editor window) or on a PDF printer.

#include "melody/score.h"
#include "melody_ui/score_pages.h"

class QPrinter;

namespace pendra2::melody_ui {

// Prints every page of the score under the document name "スコア印刷". The pages show the
// score normalised; the editor normalises its own score before calling, as printing does
// to the tune being edited. False when the printer cannot be opened; the caller tells the
// user (ui::kPrinterErrorText, ui::kPrinterErrorCaption).
bool PrintScore(QPrinter& printer, const melody::Score& score);

}  // namespace pendra2::melody_ui
