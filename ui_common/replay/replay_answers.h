#pragma once
// The message boxes, file dialogs and print dialogs of a replayed session: none is shown;
// each answers from its queue and writes what the user would have seen to the transcript.

#include "interaction/file_chooser.h"
#include "interaction/prompter.h"
#include "ui_common/print_chooser.h"
#include "ui_common/replay/replay_context.h"

namespace pendra2::ui::replay {

// The button a box takes when nobody answers it: its first one, as the platform's boxes
// make it the default.
interaction::PromptAnswer DefaultAnswer(interaction::PromptButtons buttons);
bool Offers(interaction::PromptButtons buttons, interaction::PromptAnswer answer);

class ReplayPrompter final : public interaction::Prompter {
 public:
  explicit ReplayPrompter(ReplayContext& context) : context_(context) {}
  interaction::PromptAnswer Ask(const interaction::Prompt& prompt) override;

 private:
  ReplayContext& context_;
};

class ReplayFileChooser final : public interaction::FileChooser {
 public:
  explicit ReplayFileChooser(ReplayContext& context) : context_(context) {}
  std::optional<std::string> Choose(const interaction::FileRequest& request) override;

 private:
  ReplayContext& context_;
};

// Prints into the PDF file the script names.
class ReplayPrintChooser final : public PrintChooser {
 public:
  explicit ReplayPrintChooser(ReplayContext& context) : context_(context) {}
  bool Choose(QPrinter& printer, QWidget* owner) override;

 private:
  ReplayContext& context_;
};

}  // namespace pendra2::ui::replay
