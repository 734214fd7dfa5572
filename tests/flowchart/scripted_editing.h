#pragma once
// A user at the flowchart window, scripted: message boxes answered from a queue, step
// dialogs that type into the fields through the dialogs' own rules and press OK or Cancel.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "flowchart/flow_program.h"
#include "interaction/prompter.h"
#include "interaction/step_dialogs.h"

namespace pendra2::flowchart::testing {

struct ScriptedPrompter final : interaction::Prompter {
  std::deque<interaction::PromptAnswer> answers;  // OK once they run out
  std::vector<interaction::Prompt> asked;

  interaction::PromptAnswer Ask(const interaction::Prompt& prompt) override {
    asked.push_back(prompt);
    if (answers.empty()) return interaction::PromptAnswer::Ok;
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// What the user does in the next dialog: change the step (count is the program's), then OK
// or Cancel. With nothing queued a dialog is cancelled.
struct DialogAction {
  std::function<void(StepRecord& step, int32_t count)> fill;
  interaction::DialogResult result = interaction::DialogResult::Ok;
};

struct ScriptedDialogs final : interaction::StepDialogs {
  std::deque<DialogAction> actions;
  std::deque<int32_t> loopCounts;  // answers of dialog 186; the given count once they run out
  std::vector<int> opened;         // template ids, in order

  interaction::DialogResult Run(int templateId, FlowProgram& program) {
    opened.push_back(templateId);
    if (actions.empty()) return interaction::DialogResult::Cancel;
    DialogAction action = std::move(actions.front());
    actions.pop_front();
    if (action.result == interaction::DialogResult::Ok) {
      if (action.fill) action.fill(program.steps[program.currentStep], program.count);
      program.modified = true;
    }
    return action.result;
  }

  interaction::DialogResult Wait(FlowProgram& p) override { return Run(184, p); }
  interaction::DialogResult Orgel(FlowProgram& p) override { return Run(185, p); }
  int32_t LoopCount(int32_t loopCount) override {
    opened.push_back(186);
    if (loopCounts.empty()) return loopCount;
    const int32_t count = loopCounts.front();
    loopCounts.pop_front();
    return count;
  }
  interaction::DialogResult Branch(FlowProgram& p) override { return Run(207, p); }
  interaction::DialogResult Output(FlowProgram& p) override { return Run(208, p); }
  interaction::DialogResult Goto(FlowProgram& p) override { return Run(214, p); }
  interaction::DialogResult Compare(FlowProgram& p) override { return Run(215, p); }
  interaction::DialogResult ExtOutput(FlowProgram& p) override { return Run(216, p); }
  interaction::DialogResult VariableA(FlowProgram& p) override { return Run(231, p); }
  interaction::DialogResult VarCompare(FlowProgram& p) override { return Run(232, p); }
  interaction::DialogResult VariableB(FlowProgram& p) override { return Run(233, p); }
};

}  // namespace pendra2::flowchart::testing
