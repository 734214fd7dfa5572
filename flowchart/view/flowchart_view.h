#pragma once
// The flowchart window's picture: ten rows of steps from topStep with their numbers,
// symbols and captions, the branch lanes of the whole program, the Japanese listing
// beside them and the image size readout. Coordinates are the window's client pixels.

#include <bitset>
#include <cstdint>

#include "flowchart/flow_program.h"
#include "flowchart/listing.h"
#include "flowchart/screen_geometry.h"
#include "interaction/draw_list.h"

namespace pendra2::flowchart::view {

struct ViewState {
  // 0 flowchart only, 1 flowchart and listing, 4 (or anything above 3) listing only;
  // any other value draws like 1.
  int32_t viewMode = 1;
  int32_t topStep = 0;
  // Row under the mouse counted from the top row, -1 for none.
  int32_t hoverRow = -1;
  int32_t imageSize = 0;
  // The step the simulation runs (lit in its own colour, the listing line too), -1: none.
  int32_t runningStep = -1;
  // Steps marked to pause before, shown beside their numbers.
  std::bitset<kStepSlots> breakpoints{};
  // The selected steps, first to last; -1: none.
  int32_t selectFirst = -1;
  int32_t selectLast = -1;
};

inline constexpr interaction::Colour kRunningBand{0xCFE8FF};
inline constexpr interaction::Colour kSelectedBand{0xFFE6A8};
inline constexpr interaction::Colour kSelectedFrame{0xF0B440};
inline constexpr interaction::Colour kRunningFrame{0x1E88E5};

inline constexpr interaction::FontSpec kCaptionFont{8, 400, true};
inline constexpr interaction::FontSpec kListingFont{10, 400, false};
inline constexpr interaction::FontSpec kSizeLabelFont{8, 400, false};
inline constexpr interaction::FontSpec kSizeValueFont{10, 400, false};

// The mode as drawn: 0, 1 or 4.
int32_t EffectiveViewMode(int32_t viewMode);

// The whole window picture: the image size box, then the flowchart view.
interaction::DrawList FlowchartWindowPicture(const FlowProgram& program, const ViewState& view,
                                             const ShiftJisDecoder& decode);

// The flowchart view alone (blank strips, rows, highlight, lanes, masks, listing).
interaction::DrawList FlowchartView(const FlowProgram& program, const ViewState& view,
                                    const ShiftJisDecoder& decode);

}  // namespace pendra2::flowchart::view
