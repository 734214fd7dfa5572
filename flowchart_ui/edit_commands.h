#pragma once
// Stepcraft's edit menu: undo and redo of every operation that changed the program, and the
// clipboard's cut, copy, paste and select all. The rules are the core's (EditHistory,
// step_blocks); here the clipboard and the menu items that say what they would do.

#include <QObject>
#include <functional>
#include <map>
#include <string>

#include "flowchart/edit_history.h"
#include "flowchart/stepcraft_state.h"
#include "interaction/prompter.h"

class QAction;

namespace pendra2::flowchart_ui {

class EditCommands final : public QObject {
  Q_OBJECT
 public:
  // `beforeChange` runs before a command changes the program (the simulation stops);
  // `changed` after it did, or after the selection moved (the windows repaint).
  EditCommands(flowchart::StepcraftState& state, interaction::Prompter& prompter,
               std::function<void()> beforeChange, std::function<void()> changed,
               QObject* parent = nullptr);

  // 33001..33006; false for other ids.
  bool Command(int id);
  // The program was replaced (new, open) or saved.
  void Replaced();
  void Saved();
  // A click of the flowchart window ended; `label` names what it did, if it edited.
  void Clicked(const std::string& label);
  // The menu's items, by command id, whose texts and enabled states follow.
  void SetActions(std::map<int, QAction*> actions);
  void Refresh();

 private:
  void Record(const char* label);

  flowchart::StepcraftState& state_;
  interaction::Prompter& prompter_;
  std::function<void()> beforeChange_;
  std::function<void()> changed_;
  flowchart::EditHistory history_;
  std::map<int, QAction*> actions_;
  bool clipboardHasSteps_ = false;
};

}  // namespace pendra2::flowchart_ui
