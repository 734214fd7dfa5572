#pragma once
// A Prompter that records every prompt and closes each box unanswered. `whileOpen` runs while
// "the box is open", that is while the caller waits inside its modal loop.

#include <functional>
#include <vector>

#include "ui_common/prompter.h"

namespace pendra2::test {

struct ScriptedPrompter final : ui::Prompter {
  ui::PromptAnswer Ask(const ui::Prompt& prompt) override {
    asked.push_back(prompt);
    if (whileOpen) whileOpen(prompt);
    return ui::EscapeAnswer(prompt.buttons);
  }

  std::function<void(const ui::Prompt&)> whileOpen;
  std::vector<ui::Prompt> asked;
};

}  // namespace pendra2::test
