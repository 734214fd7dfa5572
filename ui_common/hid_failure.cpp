#include "ui_common/hid_failure.h"

#include "device/board.h"

namespace pendra2::ui {

interaction::Prompt HidFailurePrompt() {
  return interaction::Prompt{device::kInterfaceListText, device::kInterfaceListCaption,
                             interaction::PromptButtons::Ok, interaction::PromptIcon::None};
}

int ReportHidFailure(interaction::Prompter& prompter) {
  prompter.Ask(HidFailurePrompt());
  return kHidFailureExitStatus;
}

}  // namespace pendra2::ui
