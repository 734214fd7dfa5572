#include "flowchart_ui/stepcraft_app.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QMdiSubWindow>
#include <QSlider>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "flowchart/recompute.h"
#include "flowchart/stepcraft_arguments.h"
#include "flowchart_ui/board_reader.h"
#include "flowchart_ui/flowchart_window.h"
#include "flowchart_ui/info_dialogs.h"
#include "flowchart_ui/qt_step_dialogs.h"
#include "flowchart_ui/simulation_panel.h"
#include "flowchart_ui/stepcraft_texts.h"
#include "flowchart_ui/stepcraft_window.h"
#include "flowchart_ui/symbol_toolbar.h"
#include "ui_common/hid_failure.h"
#include "ui_common/music_box.h"
#include "ui_common/print_chooser.h"
#include "ui_common/qt_file_chooser.h"
#include "ui_common/qt_prompter.h"
#include "ui_common/replay/replay_session.h"

namespace pendra2::flowchart_ui {
namespace {

// What a replayed session does to the windows.
class StepcraftReplayTarget final : public ui::replay::ReplayTarget {
 public:
  explicit StepcraftReplayTarget(StepcraftWindow& window) : window_(window) {}
  bool Command(int id) override { return window_.RunCommand(id); }
  bool Select(int listId, int index) override {
    if (listId == kSimSpeedList) return window_.SelectSimSpeed(index);
    QComboBox* box = window_.flowchartWindow()->viewBox();
    if (listId != kViewBoxId || index < 0 || index >= box->count()) return false;
    box->setCurrentIndex(index);
    return window_.flowchartWindow()->Command(kViewBoxId);
  }
  void Scroll(ui::replay::ScrollKind kind, int position) override {
    using K = ui::replay::ScrollKind;
    QAbstractSlider::SliderAction action = QAbstractSlider::SliderMove;
    switch (kind) {
      case K::LineUp:
        action = QAbstractSlider::SliderSingleStepSub;
        break;
      case K::LineDown:
        action = QAbstractSlider::SliderSingleStepAdd;
        break;
      case K::PageUp:
        action = QAbstractSlider::SliderPageStepSub;
        break;
      case K::PageDown:
        action = QAbstractSlider::SliderPageStepAdd;
        break;
      case K::Thumb:
        action = QAbstractSlider::SliderMove;
        break;
    }
    window_.flowchartWindow()->Scroll(action, position);
  }
  QWidget* PointerWindow() override { return window_.flowchartWindow(); }
  std::optional<std::string> Slide(int id, int value) override {
    QSlider* slider = window_.simulationPanel()->slider(id);
    if (slider == nullptr) return "the program has no slider " + std::to_string(id);
    if (value < slider->minimum() || value > slider->maximum()) {
      return "slider " + std::to_string(id) + " goes from " + std::to_string(slider->minimum()) +
             " to " + std::to_string(slider->maximum()) + ", not to " + std::to_string(value);
    }
    slider->setValue(value);
    return std::nullopt;
  }

 private:
  StepcraftWindow& window_;
};

// The flowchart window's first paint (its caption, the board buttons) comes before any
// input is taken, so a replayed session always reports its first caption first.
void WaitForFirstPaint(StepcraftWindow& window) {
  bool painted = false;
  const QMetaObject::Connection once = QObject::connect(
      window.flowchartWindow(), &FlowchartWindow::TitleChanged, [&painted] { painted = true; });
  const QDeadlineTimer deadline(2000);
  while (!painted && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
  }
  QObject::disconnect(once);
}

}  // namespace

int RunStepcraft(const ui::replay::ReplayArgument& command, ui::BoardWorker& board,
                 ui::ProgramStarter& starter, std::ostream& out, std::ostream& err) {
  // 1. The command line: the view-mode switch, a file to open, a session to replay.
  const flowchart::StepcraftArguments parsed =
      flowchart::ParseStepcraftArguments(command.remaining);
  if (!command.usageError.empty()) {
    err << "Stepcraft: " << command.usageError << "\n";
    return ui::replay::kReplayUsage;
  }
  if (!parsed.error.empty()) {
    err << "Stepcraft: " << parsed.error << "\n"
        << "usage: Stepcraft [-F|-B|-J] [FILE.flc] [--replay SCRIPT|-]\n";
    return kStepcraftUsage;
  }
  // A script that cannot run is refused before anything shows.
  std::optional<ui::replay::ReplayScript> script;
  if (command.scriptPath) {
    ui::replay::ParsedScript loaded = ui::replay::LoadReplayScript(*command.scriptPath);
    if (!loaded.ok()) {
      err << "Stepcraft: " << *command.scriptPath << ": " << loaded.error << "\n";
      return ui::replay::kReplayUnreadable;
    }
    script = std::move(*loaded.script);
  }
  std::unique_ptr<ui::replay::ReplaySession> session;
  if (script) session = std::make_unique<ui::replay::ReplaySession>(out, err);

  ui::QtPrompter qtPrompter;
  ui::QtFileChooser qtFiles;
  ui::QtPrintChooser qtPrinting;
  interaction::Prompter& prompter = session ? session->prompter() : qtPrompter;

  // 2. The board, before any window: a platform that cannot list its interfaces ends the
  // program; the first look for the board runs before anything else asked of it, but the
  // windows do not wait for it.
  if (!board.ListAvailable()) return ui::ReportHidFailure(prompter);
  board.Discover();
  if (session) session->SetBoardBusy([&board] { return board.busy(); });

  // 3-7. The state (the program table is large: on the heap), the windows, the cursors.
  auto state = std::make_unique<flowchart::StepcraftState>();
  state->viewMode = parsed.viewMode;
  const std::unique_ptr<BoardReader> reader = MakeBoardReader(board);
  interaction::FileChooser& files =
      session ? session->fileChooser() : static_cast<interaction::FileChooser&>(qtFiles);
  QtStepDialogs dialogs(prompter, files, reader.get());
  StepcraftServices services{
      .board = board,
      .prompter = prompter,
      .files = files,
      .dialogs = dialogs,
      .printing = session ? session->printChooser() : static_cast<ui::PrintChooser&>(qtPrinting),
      .starter = starter,
      .showAbout = [&reader](QWidget* owner) { ShowAbout(owner, reader.get()); },
      .showImageDump =
          [](QWidget* owner, const flowchart::FlowProgram& program) {
            ShowImageDump(owner, program.image);
          },
  };
  // Tests and quiet classrooms set PENDRA2_MUTE, as for the virtual board.
  ui::MusicBox sound(!qEnvironmentVariableIsEmpty("PENDRA2_MUTE"));
  services.sound = &sound;
  dialogs.SetSound(&sound);
  if (session) services.transcript = [&session](const std::string& line) { session->Tell(line); };
  StepcraftWindow window(*state, services);
  qtPrompter.SetOwner(&window);
  qtFiles.SetOwner(&window);
  dialogs.SetOwner(window.flowchartWindow());
  state->program.image = flowchart::FlowProgram::FilledImage();
  state->program.imageSize = 0;
  state->transferBusy = false;
  state->program.tempoIndex = 2;
  state->program.modified = false;
  state->documentTitle = flowchart::kUntitledTitle;
  state->documentPath.clear();

  // 8-10. Show the windows, the board buttons as the board says once it has said. From now
  // on a board that is plugged in, unplugged or answers again shows by itself.
  board.SetRefreshAsksAutoMode(true);
  window.panel()->ShowBoardState(board.status());
  window.panel()->RefreshBoardButtons();
  board.StartIdlePoll(ui::kIdlePollAbsentMs, ui::kIdlePollPresentMs);
  window.show();

  // 11. The new program.
  flowchart::NewProgram(state->program);
  flowchart::Recompute(state->program);
  state->program.modified = false;
  window.flowchartWindow()->SyncScrollBar();
  window.RepaintBoth();
  // A file named on the command line (a file manager's double-click) is what the first
  // paint shows.
  if (session) session->WatchTitle(window.flowchartWindow());
  if (parsed.file) window.OpenAtStart(*parsed.file);
  WaitForFirstPaint(window);

  QObject::connect(&window, &StepcraftWindow::Ended, qApp, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  if (session) {
    window.SetEndQuietly(true);
    StepcraftReplayTarget target(window);
    const int status = session->Run(target, *script);
    window.close();
    return status;
  }
  return QApplication::exec();
}

}  // namespace pendra2::flowchart_ui
