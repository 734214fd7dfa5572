#pragma once
// The editing operations the flowchart window runs, until the editing core provides them:
// tool choice, scrolling and hover follow the editor's rules; clicks do nothing yet.

#include "flowchart/stepcraft_state.h"
#include "interaction/prompter.h"
#include "interaction/step_dialogs.h"

namespace pendra2::flowchart_ui::editing {

enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, Thumb, Other };

// False when `commandId` selects no tool.
bool SelectTool(flowchart::StepcraftState& state, int commandId);
void Click(flowchart::StepcraftState& state, int x, int y, interaction::Prompter& prompter,
           interaction::StepDialogs& dialogs);
// True for line and page requests (they repaint the toolbar too).
bool Scroll(flowchart::StepcraftState& state, ScrollRequest request, int thumb);
// True when the row under the mouse changed and the window must repaint.
bool MouseMove(flowchart::StepcraftState& state, int x, int y);

}  // namespace pendra2::flowchart_ui::editing
