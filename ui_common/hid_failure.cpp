#include "ui_common/hid_failure.h"

namespace pendra2::ui {

Prompt HidFailurePrompt() {
  return Prompt{QStringLiteral("Invalid handle"), QStringLiteral("HID"), PromptButtons::Ok,
                PromptIcon::None};
}

int ReportHidFailure(Prompter& prompter) {
  prompter.Ask(HidFailurePrompt());
  return kHidFailureExitStatus;
}

}  // namespace pendra2::ui
