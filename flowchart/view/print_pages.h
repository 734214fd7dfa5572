#pragma once
// The printed flowchart: 30 steps to a page in two columns of 15, each step as on the
// screen, jumps inside one column as lines and every other jump as labelled connector
// circles. Coordinates are the printer's device units.

#include <string>
#include <vector>

#include "flowchart/flow_program.h"
#include "flowchart/listing.h"
#include "interaction/draw_list.h"
#include "interaction/page_geometry.h"

namespace pendra2::flowchart::view {

inline constexpr int kStepsPerPage = 30;
inline constexpr int kStepsPerColumn = 15;

inline constexpr interaction::FontSpec kTitleFont{12, 800, false};
inline constexpr interaction::FontSpec kBodyFont{8, 400, false};
inline constexpr int kPrintPenWidth = 10;

using interaction::PageGeometry;

int PageCount(int stepCount);

// Page `page` (from 0) of the program; `title` is UTF-8.
interaction::DrawList PrintPage(const FlowProgram& program, const std::string& title,
                                const PageGeometry& geometry, int page,
                                const ShiftJisDecoder& decode);

std::vector<interaction::DrawList> PrintPages(const FlowProgram& program, const std::string& title,
                                              const PageGeometry& geometry,
                                              const ShiftJisDecoder& decode);

}  // namespace pendra2::flowchart::view
