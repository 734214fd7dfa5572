#pragma once
// Answers scripted in advance for the editor's questions, dialogs and file dialogs; each
// records what was asked.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "interaction/file_chooser.h"
#include "interaction/prompter.h"
#include "melody/score_editor.h"

namespace pendra2::melody::testing {

struct ScriptedPrompter : interaction::Prompter {
  std::deque<interaction::PromptAnswer> answers;
  std::vector<std::string> asked;  // "caption: text"
  interaction::PromptAnswer Ask(const interaction::Prompt& p) override {
    asked.push_back(p.caption + ": " + p.text);
    if (answers.empty()) return interaction::EscapeAnswer(p.buttons);
    const auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

struct ScriptedCounts : CountDialogs {
  std::deque<int> columns;               // answers to 184/185
  std::deque<std::optional<int>> loops;  // answers to 186
  std::vector<int> opened;               // dialog ids, in order
  std::vector<int> loopInitial;
  int AskColumnCount(int id) override {
    opened.push_back(id);
    if (columns.empty()) return 0;
    const int k = columns.front();
    columns.pop_front();
    return k;
  }
  std::optional<int> AskLoopCount(int current) override {
    opened.push_back(kLoopCountDialog);
    loopInitial.push_back(current);
    if (loops.empty()) return std::nullopt;
    const auto k = loops.front();
    loops.pop_front();
    return k;
  }
};

struct ScriptedFiles : interaction::FileChooser {
  std::deque<std::optional<std::string>> paths;
  std::vector<std::string> titles;
  std::optional<std::string> Choose(const interaction::FileRequest& r) override {
    titles.push_back(r.title);
    if (paths.empty()) return std::nullopt;
    auto p = paths.front();
    paths.pop_front();
    return p;
  }
};

}  // namespace pendra2::melody::testing
