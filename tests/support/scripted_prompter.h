#pragma once
// A Prompter for widget tests: records every prompt and answers from a script. A test may
// also run code while "the box is open" (the window is inside its modal loop then).

#include <deque>
#include <functional>
#include <vector>

#include "ui_common/prompter.h"

namespace pendra2::test {

class ScriptedPrompter final : public ui::Prompter {
 public:
  ui::PromptAnswer Ask(const ui::Prompt& prompt) override {
    asked.push_back(prompt);
    if (whileOpen) whileOpen(prompt);
    if (answers.empty()) return ui::EscapeAnswer(prompt.buttons);
    const ui::PromptAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::deque<ui::PromptAnswer> answers;  // used in order; then each box is closed unanswered
  std::function<void(const ui::Prompt&)> whileOpen;
  std::vector<ui::Prompt> asked;
};

}  // namespace pendra2::test
