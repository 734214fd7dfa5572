#pragma once
// Scripted stand-ins for the boxes and dialogs the flowchart window opens.

#include <deque>
#include <string>
#include <vector>

#include "interaction/prompter.h"
#include "interaction/step_dialogs.h"

namespace pendra2::flowchart_ui::testing {

// Answers with the queued answers in order, then OK; remembers every prompt.
class ScriptedPrompter : public interaction::Prompter {
 public:
  interaction::PromptAnswer Ask(const interaction::Prompt& prompt) override {
    prompts.push_back(prompt);
    if (answers.empty()) return interaction::PromptAnswer::Ok;
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<interaction::PromptAnswer> answers;
  std::vector<interaction::Prompt> prompts;
};

// Cancels every dialog and remembers which template opened, on which step.
class RecordingDialogs : public interaction::StepDialogs {
 public:
  using Result = interaction::DialogResult;
  Result Wait(flowchart::FlowProgram& p) override { return Note(184, p); }
  Result Orgel(flowchart::FlowProgram& p) override { return Note(185, p); }
  int32_t LoopCount(int32_t loopCount) override {
    opened.push_back({186, -1});
    return loopCount;
  }
  Result Branch(flowchart::FlowProgram& p) override { return Note(207, p); }
  Result Output(flowchart::FlowProgram& p) override { return Note(208, p); }
  Result Goto(flowchart::FlowProgram& p) override { return Note(214, p); }
  Result Compare(flowchart::FlowProgram& p) override { return Note(215, p); }
  Result ExtOutput(flowchart::FlowProgram& p) override { return Note(216, p); }
  Result VariableA(flowchart::FlowProgram& p) override { return Note(231, p); }
  Result VarCompare(flowchart::FlowProgram& p) override { return Note(232, p); }
  Result VariableB(flowchart::FlowProgram& p) override { return Note(233, p); }

  struct Opened {
    int templateId;
    int step;
    friend bool operator==(const Opened&, const Opened&) = default;
  };
  std::vector<Opened> opened;

 private:
  Result Note(int id, const flowchart::FlowProgram& p) {
    opened.push_back({id, p.currentStep});
    return Result::Cancel;
  }
};

}  // namespace pendra2::flowchart_ui::testing
