#pragma once
// Stepcraft's main window ("Pendra2 ステップクラフト　基本版"): its work area holds the
// flowchart window, the connection panel and the symbol toolbar as sub-windows at their
// places; its menus carry the file, print, image dump, reconnect, about and exit commands.
// When it closes, the board channels close and the launcher starts again.

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "flowchart/document_commands.h"
#include "flowchart/stepcraft_state.h"
#include "flowchart_ui/connection_panel.h"
#include "flowchart_ui/edit_commands.h"
#include "interaction/file_chooser.h"
#include "interaction/prompter.h"
#include "interaction/step_dialogs.h"
#include "ui_common/board_worker.h"
#include "ui_common/print_chooser.h"
#include "ui_common/program_starter.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;

namespace pendra2::ui {
class MusicBox;
}

namespace pendra2::flowchart_ui {

class FlowchartWindow;
class Simulation;
class SimulationPanel;
class SymbolToolbar;

// What the main window asks of the world around it; main() passes the real ones, a replayed
// session its scripted ones, tests their fakes.
struct StepcraftServices {
  ui::BoardWorker& board;
  interaction::Prompter& prompter;
  interaction::FileChooser& files;
  interaction::StepDialogs& dialogs;
  ui::PrintChooser& printing;
  ui::ProgramStarter& starter;
  // The modal dialogs of the help and control menus, owned by the main window.
  std::function<void(QWidget* owner)> showAbout;
  std::function<void(QWidget* owner, const flowchart::FlowProgram&)> showImageDump;
  // The simulation's loudspeaker; none: it is silent.
  ui::MusicBox* sound = nullptr;
  // A replayed session's transcript, for the lines the simulation writes.
  std::function<void(const std::string&)> transcript{};
};

class StepcraftWindow final : public QMainWindow {
  Q_OBJECT

 public:
  StepcraftWindow(flowchart::StepcraftState& state, StepcraftServices services,
                  QWidget* parent = nullptr);
  ~StepcraftWindow() override;

  // Carries out a command by its identifier, whichever window handles it: menus and
  // accelerators, the board buttons, the tools and the view box (2004). False when no
  // window of the program knows it.
  bool RunCommand(int id);
  // The document, the tool or the view changed: the flowchart window, then the toolbar.
  void RepaintBoth();
  // The file named on the command line, loaded into the fresh program without a dialog.
  void OpenAtStart(const std::string& path);

  // A replayed session ends without the save-changes question and without the launcher.
  void SetEndQuietly(bool quiet) { endQuietly_ = quiet; }
  // Whether the window has closed for good (the launcher was started unless quiet).
  bool ended() const { return ended_; }

  FlowchartWindow* flowchartWindow() const { return flowchart_; }
  ConnectionPanel* panel() const { return panel_; }
  SymbolToolbar* toolbar() const { return toolbar_; }
  SimulationPanel* simulationPanel() const { return simPanel_; }
  Simulation& simulation() const { return *simulation_; }
  // The speed list (33024) chose entry `index`, as the user choosing it does; false for an
  // entry the list does not have.
  bool SelectSimSpeed(int index);
  QMdiSubWindow* flowchartSubWindow() const { return flowchartSub_; }
  QAction* action(int id) const;

 signals:
  // The window closed for good: the program's message loop ends.
  void Ended();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildChildWindows();
  QMdiSubWindow* AddChild(QWidget* child, QRect clientRect);
  void Print();
  // "サンプルを開く": an example from the gallery, loaded as an untitled program.
  void OpenExample();
  // The document changed under the flowchart window (new, open): scroll bar and repaint.
  void DocumentReplaced();
  // The panel and the lit step show what the simulation says, at most every few dozen ms.
  void ShowSimulation();

  flowchart::StepcraftState& state_;
  StepcraftServices services_;
  flowchart::DocumentCommands documents_;
  QMdiArea* area_ = nullptr;
  FlowchartWindow* flowchart_ = nullptr;
  ConnectionPanel* panel_ = nullptr;
  SymbolToolbar* toolbar_ = nullptr;
  QMdiSubWindow* flowchartSub_ = nullptr;
  std::unique_ptr<Simulation> simulation_;
  EditCommands* edits_ = nullptr;
  SimulationPanel* simPanel_ = nullptr;
  QTimer simRefresh_;
  std::map<int, QAction*> actions_;
  bool endQuietly_ = false;
  bool exitConfirmed_ = false;
  bool ended_ = false;
};

}  // namespace pendra2::flowchart_ui
