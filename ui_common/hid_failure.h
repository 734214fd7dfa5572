#pragma once
// When the list of HID interfaces cannot be had at all, every GUI program tells the user
// once and ends normally: there is no way to reach a board on this machine.

#include "interaction/prompter.h"

namespace pendra2::ui {

inline constexpr int kHidFailureExitStatus = 0;

// "Invalid handle", caption "HID", an OK button.
interaction::Prompt HidFailurePrompt();

// Shows the message through `prompter` (owned by the main window when there is one) and
// returns the exit status the program then ends with.
int ReportHidFailure(interaction::Prompter& prompter);

}  // namespace pendra2::ui
