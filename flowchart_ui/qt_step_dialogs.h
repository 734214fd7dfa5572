#pragma once
// Stepcraft's step dialogs as real Qt dialogs: each call opens its template modally, owned
// by the flowchart window, fills it from the step, and on OK stores the entries through the
// field rules (a refused entry shows its message and the dialog stays open).

#include <QPointer>
#include <QWidget>

#include "flowchart_ui/board_reader.h"
#include "interaction/file_chooser.h"
#include "interaction/prompter.h"
#include "interaction/step_dialogs.h"

namespace pendra2::ui {
class MusicBox;
}

namespace pendra2::flowchart_ui {

class QtStepDialogs final : public interaction::StepDialogs {
 public:
  // `board` may be null (no board link): the live readings then find no board.
  QtStepDialogs(interaction::Prompter& prompter, interaction::FileChooser& files,
                BoardReader* board, QWidget* owner = nullptr)
      : prompter_(prompter), files_(files), board_(board), owner_(owner) {}
  // The window that owns the dialogs (the flowchart window, created after this object).
  void SetOwner(QWidget* owner) { owner_ = owner; }
  // The PC's loudspeaker, for the tune dialog's 試聴.
  void SetSound(ui::MusicBox* sound) { sound_ = sound; }

  interaction::DialogResult Wait(flowchart::FlowProgram& program) override;
  interaction::DialogResult Orgel(flowchart::FlowProgram& program) override;
  std::optional<int32_t> LoopCount(int32_t loopCount) override;
  interaction::DialogResult Branch(flowchart::FlowProgram& program) override;
  interaction::DialogResult Output(flowchart::FlowProgram& program) override;
  interaction::DialogResult Goto(flowchart::FlowProgram& program) override;
  interaction::DialogResult Compare(flowchart::FlowProgram& program) override;
  interaction::DialogResult ExtOutput(flowchart::FlowProgram& program) override;
  interaction::DialogResult VariableA(flowchart::FlowProgram& program) override;
  interaction::DialogResult VarCompare(flowchart::FlowProgram& program) override;
  interaction::DialogResult VariableB(flowchart::FlowProgram& program) override;

 private:
  interaction::DialogResult Variable(flowchart::FlowProgram& program, bool variableA);
  // Shows a refusal; true when the entry was stored.
  bool Stored(const interaction::Outcome& outcome);

  interaction::Prompter& prompter_;
  interaction::FileChooser& files_;
  BoardReader* board_;
  QPointer<QWidget> owner_;
  ui::MusicBox* sound_ = nullptr;
};

}  // namespace pendra2::flowchart_ui
