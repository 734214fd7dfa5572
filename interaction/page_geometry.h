#pragma once
// What a printer reports of its page, in device units; the printed layouts are computed
// from it without knowing the printer.

namespace pendra2::interaction {

struct PageGeometry {
  int offX = 0;  // physical offsets of the printable area
  int offY = 0;
  int horzRes = 0;  // printable width and height
  int vertRes = 0;
};

}  // namespace pendra2::interaction
