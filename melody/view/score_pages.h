#pragma once
// The printed score: two systems of 21 columns to a page, each the background picture
// scaled to the page with the columns' marks and note heads on it, the column numbers
// under it and the loop counts above its bottom edge. Coordinates are the printer's
// device units.

#include <vector>

#include "interaction/draw_list.h"
#include "interaction/page_geometry.h"
#include "melody/score.h"

namespace pendra2::melody::view {

inline constexpr int kColumnsPerPage = 42;
inline constexpr int kColumnsPerSystem = 21;

inline constexpr interaction::FontSpec kPrintTitleFont{12, 800, false};
inline constexpr interaction::FontSpec kPrintSmallFont{8, 400, false};

inline constexpr char kPrintTitle[] = "■スコアリスト■";

using interaction::PageGeometry;

// Pages for a normalised score of `length`: one more than the whole pages its columns fill,
// so a score of exactly 42 columns (end mark included) gets an empty second page.
int ScorePageCount(int length);

// Page `page` (from 0) of the score as printing leaves it: the score is normalised first.
interaction::DrawList ScorePage(const melody::Score& score, const PageGeometry& geometry, int page);

std::vector<interaction::DrawList> ScorePages(const melody::Score& score,
                                              const PageGeometry& geometry);

}  // namespace pendra2::melody::view
