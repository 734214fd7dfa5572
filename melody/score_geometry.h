#pragma once
// The score window's client geometry. The hit tests of the score editor and the picture of
// the window both read it from here, so a cell that is drawn is the cell a click there edits.

namespace pendra2::melody {

// The window's given size taken as its client size.
inline constexpr int kClientWidth = 750;
inline constexpr int kClientHeight = 510;

// The keyboard picture: a click at x <= 78 plays a key.
inline constexpr int kKeyboardRight = 78;

// The grid: view column j spans x = 80 + 25 j + 1 .. 80 + 25 (j + 1), grid row r spans
// y = 18 r .. 18 r + 17 and holds code 23 - r (the rest row on top); a click lies in the grid
// for x from 81 to 604.
inline constexpr int kGridLeft = 80;
inline constexpr int kGridRight = 604;
inline constexpr int kColumnWidth = 25;
inline constexpr int kRowHeight = 18;
inline constexpr int kRows = 24;
// Hovering highlights a key only from y = 1 to this.
inline constexpr int kGridBottom = 429;
// The note head of code c stands at y = 415 - 18 c, one pixel into its row.
inline constexpr int kC1HeadY = kRowHeight * (kRows - 1) + 1;

// The strip of column numbers under the grid, from the row after the last grid row: a drag
// along it selects columns.
inline constexpr int kNumberStripTop = kRowHeight * kRows;
inline constexpr int kNumberStripBottom = kNumberStripTop + 24;  // just below the strip

// Columns in view, and so the length of a part playback.
inline constexpr int kVisibleColumns = 21;

}  // namespace pendra2::melody
