#pragma once
// The flowchart window's client geometry. The hit tests of the editing session and the
// picture of the window both read it from here, so a row that is drawn is the row a click
// there edits.

namespace pendra2::flowchart {

// The window's given size taken as its client size (the blank strips reach down to y = 568).
inline constexpr int kClientWidth = 615;
inline constexpr int kClientHeight = 570;

inline constexpr int kVisibleRows = 10;
inline constexpr int kRowHeight = 48;
inline constexpr int kRowsTop = 40;  // row r's symbol stands at y = 40 + 48 r
// A click or hover must lie strictly between these two.
inline constexpr int kRowsLeft = 10;
inline constexpr int kRowsRight = 400;
inline constexpr int kHoverBottom = 470;  // hover highlighting stops above this

inline constexpr int kSymbolLeft = 30;
inline constexpr int kSymbolWidth = 96;
inline constexpr int kSymbolHeight = 48;

}  // namespace pendra2::flowchart
