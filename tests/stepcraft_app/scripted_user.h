#pragma once
// A user who answers from a script: message boxes and file dialogs take the queued answers
// in order, and everything shown is recorded for the test to read. The flowchart editing
// tests share the prompter too.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "interaction/file_chooser.h"
#include "interaction/prompter.h"

namespace pendra2::testing {

class ScriptedPrompter : public interaction::Prompter {
 public:
  std::deque<interaction::PromptAnswer> answers;
  std::vector<interaction::Prompt> shown;
  std::optional<interaction::PromptAnswer> thenAlways;  // once answers run out; else Escape

  interaction::PromptAnswer Ask(const interaction::Prompt& prompt) override {
    shown.push_back(prompt);
    if (answers.empty()) return thenAlways.value_or(interaction::EscapeAnswer(prompt.buttons));
    const interaction::PromptAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& p : shown) texts.push_back(p.text);
    return texts;
  }
};

class ScriptedFiles : public interaction::FileChooser {
 public:
  std::deque<std::optional<std::string>> answers;  // nothing: the dialog was cancelled
  std::vector<interaction::FileRequest> shown;

  std::optional<std::string> Choose(const interaction::FileRequest& request) override {
    shown.push_back(request);
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::vector<interaction::FileDialogKind> Kinds() const {
    std::vector<interaction::FileDialogKind> kinds;
    for (const auto& r : shown) kinds.push_back(r.kind);
    return kinds;
  }
};

}  // namespace pendra2::testing
