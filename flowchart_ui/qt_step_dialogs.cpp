#include "flowchart_ui/qt_step_dialogs.h"

#include <QCheckBox>
#include <QLineEdit>
#include <algorithm>
#include <string>

#include "flowchart/dialog_fields.h"
#include "flowchart_ui/dialogs/branch_dialog.h"
#include "flowchart_ui/dialogs/compare_dialog.h"
#include "flowchart_ui/dialogs/ext_output_dialog.h"
#include "flowchart_ui/dialogs/goto_dialog.h"
#include "flowchart_ui/dialogs/loop_count_dialog.h"
#include "flowchart_ui/dialogs/orgel_dialog.h"
#include "flowchart_ui/dialogs/output_dialog.h"
#include "flowchart_ui/dialogs/var_compare_dialog.h"
#include "flowchart_ui/dialogs/variable_dialog.h"
#include "flowchart_ui/dialogs/wait_dialog.h"
#include "flowchart_ui/tune_preview.h"
#include "ui_common/shift_jis.h"

namespace pendra2::flowchart_ui {
namespace {

namespace fc = flowchart;
using interaction::DialogResult;

QString Q(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string EditText(const TemplateDialog& dialog, int id) {
  return dialog.Edit(id)->text().toStdString();
}

void SetEditText(TemplateDialog& dialog, int id, const std::string& utf8) {
  dialog.Edit(id)->setText(Q(utf8));
}

// The step the dialog is opened on; a stray currentStep names the nearest slot.
fc::StepRecord& CurrentStep(fc::FlowProgram& program) {
  return program.steps[std::clamp(program.currentStep, 0, fc::kStepSlots - 1)];
}

// Runs the dialog; OK marks the program changed.
DialogResult Finish(TemplateDialog& dialog, fc::FlowProgram& program) {
  if (dialog.exec() != QDialog::Accepted) return DialogResult::Cancel;
  program.modified = true;
  return DialogResult::Ok;
}

}  // namespace

bool QtStepDialogs::Stored(const interaction::Outcome& outcome) {
  interaction::Tell(prompter_, outcome);
  return outcome.ok();
}

DialogResult QtStepDialogs::Wait(fc::FlowProgram& program) {
  fc::StepRecord& step = CurrentStep(program);
  WaitDialog dialog(owner_);
  SetEditText(dialog, fc::kValueEdit, fc::OpenWait(step).seconds);
  dialog.SetOkGuard(
      [&] { return Stored(fc::StoreWait({EditText(dialog, fc::kValueEdit)}, step)); });
  return Finish(dialog, program);
}

DialogResult QtStepDialogs::Orgel(fc::FlowProgram& program) {
  const fc::StepRecord& step = CurrentStep(program);
  OrgelDialog dialog(owner_);
  TunePreview preview(sound_);
  preview.ended = [&dialog] { dialog.ShowListening(false); };
  const auto show = [&] {
    const fc::OrgelFields fields = fc::OpenOrgel(step, ui::ShiftJisToUtf8);
    dialog.ShowTune(Q(fields.path), Q(fields.size), StepTune(step, program.tempoIndex).has_value());
  };
  show();
  // The chosen tune is stored at once and stays, whichever way the dialog then closes.
  dialog.SetBrowse([&] {
    preview.Stop();
    dialog.ShowListening(false);
    Stored(fc::BrowseTune(program, files_, ui::Utf8ToShiftJis));
    show();
  });
  dialog.SetListen([&] {
    if (preview.playing()) {
      preview.Stop();
    } else if (const auto tune = StepTune(step, program.tempoIndex)) {
      preview.Play(*tune);
    }
    dialog.ShowListening(preview.playing());
  });
  return Finish(dialog, program);
}

std::optional<int32_t> QtStepDialogs::LoopCount(int32_t loopCount) {
  LoopCountDialog dialog(owner_);
  SetEditText(dialog, fc::kValueEdit, fc::OpenLoopCount(loopCount).count);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return fc::StoreLoopCount({EditText(dialog, fc::kValueEdit)});
}

DialogResult QtStepDialogs::Branch(fc::FlowProgram& program) {
  fc::StepRecord& step = CurrentStep(program);
  BranchDialog dialog(board_, owner_);
  const fc::BranchFields opened = fc::OpenBranch(step);
  SetEditText(dialog, fc::kValueEdit, opened.threshold);
  dialog.comparison().SetChecked(opened.opButton);
  dialog.input().SetChecked(opened.inputButton);
  SetEditText(dialog, fc::kTargetEdit, opened.target);
  dialog.SetOkGuard([&] {
    const fc::BranchFields entered{EditText(dialog, fc::kValueEdit), dialog.comparison().Checked(),
                                   dialog.input().Checked(), EditText(dialog, fc::kTargetEdit)};
    return Stored(fc::StoreBranch(entered, step, program.count));
  });
  return Finish(dialog, program);
}

DialogResult QtStepDialogs::Output(fc::FlowProgram& program) {
  fc::StepRecord& step = CurrentStep(program);
  OutputDialog dialog(owner_);
  const fc::OutputFields opened = fc::OpenOutput(step);
  dialog.port().SetChecked(opened.portButton);
  dialog.state().SetChecked(opened.stateButton);
  dialog.SetOkGuard([&] {
    return Stored(fc::StoreOutput({dialog.port().Checked(), dialog.state().Checked()}, step));
  });
  return Finish(dialog, program);
}

DialogResult QtStepDialogs::Goto(fc::FlowProgram& program) {
  fc::StepRecord& step = CurrentStep(program);
  GotoDialog dialog(owner_);
  SetEditText(dialog, fc::kTargetEdit, fc::OpenGoto(step).target);
  dialog.SetOkGuard([&] {
    return Stored(fc::StoreGoto({EditText(dialog, fc::kTargetEdit)}, step, program.count));
  });
  return Finish(dialog, program);
}

DialogResult QtStepDialogs::Compare(fc::FlowProgram& program) {
  fc::StepRecord& step = CurrentStep(program);
  CompareDialog dialog(board_, owner_);
  const fc::CompareFields opened = fc::OpenCompare(step);
  SetEditText(dialog, fc::kValueEdit, opened.threshold);
  dialog.comparison().SetChecked(opened.opButton);
  SetEditText(dialog, fc::kTargetEdit, opened.target);
  dialog.SetOkGuard([&] {
    const fc::CompareFields entered{EditText(dialog, fc::kValueEdit), dialog.comparison().Checked(),
                                    EditText(dialog, fc::kTargetEdit)};
    return Stored(fc::StoreCompare(entered, step, program.count));
  });
  return Finish(dialog, program);
}

DialogResult QtStepDialogs::ExtOutput(fc::FlowProgram& program) {
  fc::StepRecord& step = CurrentStep(program);
  ExtOutputDialog dialog(owner_);
  const fc::ExtOutputFields opened = fc::OpenExtOutput(step);
  for (int i = 0; i < 4; ++i) dialog.Bit(i)->setChecked(opened.bits[i]);
  dialog.SetOkGuard([&] {
    fc::ExtOutputFields entered;
    for (int i = 0; i < 4; ++i) entered.bits[i] = dialog.Bit(i)->isChecked();
    return Stored(fc::StoreExtOutput(entered, step));
  });
  return Finish(dialog, program);
}

DialogResult QtStepDialogs::Variable(fc::FlowProgram& program, bool variableA) {
  fc::StepRecord& step = CurrentStep(program);
  VariableDialog dialog(variableA ? Variable::A : Variable::B, owner_);
  const fc::VariableFields opened = fc::OpenVariable(step);
  SetEditText(dialog, fc::kVariableValueEdit, opened.value);
  dialog.operation().SetChecked(opened.opButton);
  dialog.SetOkGuard([&] {
    const fc::VariableFields entered{EditText(dialog, fc::kVariableValueEdit),
                                     dialog.operation().Checked()};
    return Stored(fc::StoreVariable(entered, step));
  });
  return Finish(dialog, program);
}

DialogResult QtStepDialogs::VariableA(fc::FlowProgram& program) {
  return Variable(program, true);
}

DialogResult QtStepDialogs::VariableB(fc::FlowProgram& program) {
  return Variable(program, false);
}

DialogResult QtStepDialogs::VarCompare(fc::FlowProgram& program) {
  fc::StepRecord& step = CurrentStep(program);
  VarCompareDialog dialog(owner_);
  const fc::VarCompareFields opened = fc::OpenVarCompare(step);
  SetEditText(dialog, fc::kVarCompareValueEdit, opened.value);
  dialog.comparison().SetChecked(opened.opButton);
  SetEditText(dialog, fc::kTargetEdit, opened.target);
  dialog.SetOkGuard([&] {
    const fc::VarCompareFields entered{EditText(dialog, fc::kVarCompareValueEdit),
                                       dialog.comparison().Checked(),
                                       EditText(dialog, fc::kTargetEdit)};
    return Stored(fc::StoreVarCompare(entered, step, program.count));
  });
  return Finish(dialog, program);
}

}  // namespace pendra2::flowchart_ui
