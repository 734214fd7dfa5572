#include "flowchart_ui/window_editing.h"

#include <algorithm>

namespace pendra2::flowchart_ui::editing {

using flowchart::EditMode;

bool SelectTool(flowchart::StepcraftState& state, int commandId) {
  static constexpr struct {
    int id;
    EditMode mode;
  } kTools[] = {
      {2014, EditMode::kDelete},          {2016, EditMode::kInsertOrgel},
      {2017, EditMode::kInsertWait},      {2013, EditMode::kInsertLoop},
      {2018, EditMode::kInsertOutput},    {2020, EditMode::kInsertBranch},
      {2021, EditMode::kInsertGoto},      {2019, EditMode::kInsertExtOutput},
      {2022, EditMode::kInsertCompare},   {2023, EditMode::kInsertVariableA},
      {2024, EditMode::kInsertVariableB}, {2025, EditMode::kInsertVarCompare},
  };
  for (const auto& tool : kTools) {
    if (tool.id == commandId) {
      state.editMode = tool.mode;
      return true;
    }
  }
  return false;
}

void Click(flowchart::StepcraftState&, int, int, interaction::Prompter&,
           interaction::StepDialogs&) {}

bool Scroll(flowchart::StepcraftState& state, ScrollRequest request, int thumb) {
  const int last = std::max(state.program.count - 1, 0);
  switch (request) {
    case ScrollRequest::LineUp:
      state.topStep = std::max(state.topStep - 1, 0);
      return true;
    case ScrollRequest::PageUp:
      state.topStep = std::max(state.topStep - 10, 0);
      return true;
    case ScrollRequest::LineDown:
      state.topStep = std::min({state.topStep + 1, last, 490});
      return true;
    case ScrollRequest::PageDown:
      state.topStep = std::min({state.topStep + 10, last, 490});
      return true;
    case ScrollRequest::Thumb:
      state.topStep = thumb;
      return false;
    case ScrollRequest::Other:
      return false;
  }
  return false;
}

bool MouseMove(flowchart::StepcraftState& state, int x, int y) {
  if (x > 10 && x < 400 && y > 40 && y < 470) {
    const int row = (y - 40) / 48;
    if (row == state.hoverRow) return false;
    state.hoverRow = row;
    return true;
  }
  state.hoverRow = -1;
  return false;
}

}  // namespace pendra2::flowchart_ui::editing
