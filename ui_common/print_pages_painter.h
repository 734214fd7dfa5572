#pragma once
// Both editors print the same way: the page layout comes from the printer's geometry, and
// each page's draw list is painted on a page of its own under the document's name.

#include <span>

#include "interaction/draw_list.h"
#include "interaction/page_geometry.h"

class QPrinter;

namespace pendra2::ui {

inline constexpr char kPrintDocumentName[] = "スコア印刷";
inline constexpr char kPrinterErrorText[] = "プリンターが開けません";
inline constexpr char kPrinterErrorCaption[] = "ERROR !";

// Offsets and printable size of the printer's current page, in device units.
interaction::PageGeometry PrinterGeometry(const QPrinter& printer);

// Paints the pages under the document name "スコア印刷". False when the printer cannot be
// opened or finished; the caller tells the user (kPrinterErrorText, kPrinterErrorCaption).
bool PaintPages(QPrinter& printer, std::span<const interaction::DrawList> pages);

}  // namespace pendra2::ui
