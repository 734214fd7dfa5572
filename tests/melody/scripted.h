#pragma once
// Answers scripted in advance for the editor's questions, dialogs and file dialogs; each
// records what was asked. And where to click in the score window.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "interaction/file_chooser.h"
#include "interaction/prompter.h"
#include "melody/score_editor.h"

namespace pendra2::melody::testing {

// Client x of grid column j, client y of the row of code c.
constexpr int X(int j) {
  return 92 + 25 * j;
}
constexpr int Y(int c) {
  return (23 - c) * 18 + 9;
}

// The next scripted answer, or `otherwise` (what Escape gives) when the script has run out.
template <typename T>
T Next(std::deque<T>& script, T otherwise) {
  if (script.empty()) return otherwise;
  T next = script.front();
  script.pop_front();
  return next;
}

struct ScriptedPrompter : interaction::Prompter {
  std::deque<interaction::PromptAnswer> answers;
  std::vector<std::string> asked;  // "caption: text"
  interaction::PromptAnswer Ask(const interaction::Prompt& p) override {
    asked.push_back(p.caption + ": " + p.text);
    return Next(answers, interaction::EscapeAnswer(p.buttons));
  }
};

struct ScriptedCounts : CountDialogs {
  std::deque<int> columns;               // answers to 184/185
  std::deque<std::optional<int>> loops;  // answers to 186
  std::vector<int> opened;               // dialog ids, in order
  std::vector<int> loopInitial;
  int AskColumnCount(int id) override {
    opened.push_back(id);
    return Next(columns, 0);
  }
  std::optional<int> AskLoopCount(int current) override {
    opened.push_back(kLoopCountDialog);
    loopInitial.push_back(current);
    return Next(loops, std::optional<int>());
  }
};

struct ScriptedFiles : interaction::FileChooser {
  std::deque<std::optional<std::string>> paths;
  std::vector<std::string> titles;
  std::optional<std::string> Choose(const interaction::FileRequest& r) override {
    titles.push_back(r.title);
    return Next(paths, std::optional<std::string>());
  }
};

}  // namespace pendra2::melody::testing
