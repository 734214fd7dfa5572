#include "flowchart_ui/stepcraft_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPrinter>
#include <QToolButton>
#include <algorithm>

#include "flowchart/view/print_pages.h"
#include "flowchart_ui/flowchart_window.h"
#include "flowchart_ui/simulation.h"
#include "flowchart_ui/simulation_panel.h"
#include "flowchart_ui/stepcraft_texts.h"
#include "flowchart_ui/symbol_toolbar.h"
#include "ui_common/bitmaps.h"
#include "ui_common/example_gallery.h"
#include "ui_common/music_box.h"
#include "ui_common/print_pages_painter.h"
#include "ui_common/shift_jis.h"

namespace pendra2::flowchart_ui {
namespace {

QString Text(const char* utf8) {
  return QString::fromUtf8(utf8);
}

// The gap the layout keeps between neighbouring child windows.
constexpr int kChildGap = 5;
// Long enough to gather a burst of steps, short enough for a blinking LED to look right.
constexpr int kSimRefreshMs = 40;

}  // namespace

StepcraftWindow::StepcraftWindow(flowchart::StepcraftState& state, StepcraftServices services,
                                 QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      services_(std::move(services)),
      documents_(state, services_.prompter, services_.files),
      simulation_(std::make_unique<Simulation>(state, services_.prompter, services_.sound)) {
  simulation_->SetTranscript(services_.transcript);
  simRefresh_.setSingleShot(true);
  simRefresh_.setInterval(kSimRefreshMs);
  connect(&simRefresh_, &QTimer::timeout, this, &StepcraftWindow::ShowSimulation);
  connect(simulation_.get(), &Simulation::changed, this, [this] {
    if (!simRefresh_.isActive()) simRefresh_.start();
  });
  edits_ = new EditCommands(
      state_, services_.prompter, [this] { simulation_->StopFor("edited"); },
      [this] {
        flowchart_->SyncScrollBar();
        RepaintBoth();
      },
      this);
  setObjectName(Text(kMainClassName));
  setWindowTitle(Text(kMainTitle));
  setWindowIcon(QIcon(QPixmap::fromImage(ui::LoadBitmap(QStringLiteral("STEPCRAFT_ICON")))));
  BuildMenus();
  BuildChildWindows();
}

StepcraftWindow::~StepcraftWindow() = default;

QAction* StepcraftWindow::action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void StepcraftWindow::BuildMenus() {
  const auto add = [this](QMenu* menu, const char* text, int id,
                          const QList<QKeySequence>& keys = {}) {
    QAction* action = menu->addAction(Text(text));
    action->setData(id);
    action->setObjectName(QString::number(id));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    actions_[id] = action;
  };
  QMenu* file = menuBar()->addMenu(Text("ファイル(&F)"));
  add(file, "新規作成", kCommandNew, {QKeySequence::New});
  add(file, "上書き保存", kCommandSave, {QKeySequence::Save});
  add(file, "名前を付けて保存", kCommandSaveAs, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
  add(file, "読込み", kCommandOpen, {QKeySequence::Open});
  add(file, "サンプルを開く", ui::kCommandOpenExample);
  file->addSeparator();
  add(file, "印刷 ", kCommandPrint, {QKeySequence::Print});
  file->addSeparator();
  add(file, "アプリケーションの終了(&X)", kCommandExit);

  QMenu* edit = menuBar()->addMenu(Text("編集(&E)"));
  add(edit, kUndoText, kCommandUndo, {QKeySequence::Undo});
  add(edit, kRedoText, kCommandRedo,
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  edit->addSeparator();
  add(edit, "切り取り", kCommandCut, {QKeySequence::Cut});
  add(edit, "コピー", kCommandCopy, {QKeySequence::Copy});
  add(edit, "貼り付け", kCommandPaste, {QKeySequence::Paste});
  edit->addSeparator();
  add(edit, "すべて選択", kCommandSelectAll, {QKeySequence::SelectAll});
  connect(edit, &QMenu::aboutToShow, edits_, &EditCommands::Refresh);
  std::map<int, QAction*> editActions;
  for (const int id :
       {kCommandUndo, kCommandRedo, kCommandCut, kCommandCopy, kCommandPaste, kCommandSelectAll}) {
    editActions[id] = actions_[id];
  }
  edits_->SetActions(std::move(editActions));

  QMenu* control = menuBar()->addMenu(Text("コントロール"));
  add(control, "シミュレーション実行", kCommandSimRun, {QKeySequence(Qt::Key_F5)});
  add(control, "一時停止", kCommandSimPause, {QKeySequence(Qt::Key_F6)});
  add(control, "1ステップ実行", kCommandSimStep, {QKeySequence(Qt::Key_F10)});
  add(control, "シミュレーション停止", kCommandSimStop, {QKeySequence(Qt::SHIFT | Qt::Key_F5)});
  control->addSeparator();
  add(control, "スコアダンプ", kCommandImageDump);
  add(control, "Pendra 再接続", kCommandReconnect);
  add(control, "すべてのボードに転送", kCommandTransferAll);

  QMenu* help = menuBar()->addMenu(Text("ヘルプ(&H)"));
  // Both keys of the accelerator table work while the main window has focus.
  add(help, "バージョン情報(&A)...", kCommandAbout,
      {QKeySequence(Qt::ALT | Qt::Key_Question), QKeySequence(Qt::ALT | Qt::Key_Slash)});
}

QMdiSubWindow* StepcraftWindow::AddChild(QWidget* child, QRect clientRect) {
  child->setFixedSize(child->sizeHint());
  auto* sub =
      area_->addSubWindow(child, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  sub->setWindowTitle(child->windowTitle());
  // The three windows are the program itself: none of them can be closed on its own (no
  // system menu, so no Close entry and no Ctrl+F4 either).
  sub->setSystemMenu(nullptr);
  sub->adjustSize();
  sub->move(clientRect.topLeft());
  return sub;
}

void StepcraftWindow::BuildChildWindows() {
  area_ = new QMdiArea(this);
  area_->setBackground(QColor::fromRgb(kMainBackground));
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(area_);

  panel_ = new ConnectionPanel(state_, services_.board, services_.prompter);
  flowchart_ = new FlowchartWindow(state_, services_.prompter, services_.dialogs);
  toolbar_ = new SymbolToolbar(state_, [this](int id) { RunCommand(id); });
  simPanel_ = new SimulationPanel(state_, *simulation_, [this](int id) { RunCommand(id); });
  if (services_.sound) {
    connect(services_.sound, &ui::MusicBox::unavailable, simPanel_,
            &SimulationPanel::ShowSoundMessage);
  }

  QMdiSubWindow* panelSub = AddChild(panel_, kPanelRect);
  flowchartSub_ = AddChild(flowchart_, kFlowchartRect);
  QMdiSubWindow* toolbarSub = AddChild(toolbar_, kToolbarRect);
  QMdiSubWindow* simSub = AddChild(simPanel_, kPanelRect);

  // The client sizes are as given; frames and captions come on top, so the right-hand column
  // keeps its gap to the flowchart window's frame rather than lying under it.
  const int rightX = std::max(kPanelRect.x(), flowchartSub_->geometry().right() + 1 + kChildGap);
  panelSub->move(rightX, kPanelRect.y());
  const int toolbarY =
      std::max(kToolbarRect.y(), panelSub->geometry().bottom() + 1 + 2 * kChildGap);
  toolbarSub->move(rightX, toolbarY);
  // The simulation beside the board's column: the flowchart it lights stays where it was.
  const int simX =
      std::max(panelSub->geometry().right(), toolbarSub->geometry().right()) + 1 + kChildGap;
  simSub->move(simX, kPanelRect.y());

  const QRect all = flowchartSub_->geometry() | panelSub->geometry() | toolbarSub->geometry() |
                    simSub->geometry();
  resize(all.right() + 1 + kChildGap,
         all.bottom() + 1 + kChildGap + menuBar()->sizeHint().height());

  flowchart_->SetRepaintHook([this] { panel_->RefreshBoardButtons(); });
  // No edit ever acts on an image that is still running; a breakpoint set or cleared counts
  // at once.
  flowchart_->SetEditHooks([this] { simulation_->StopFor("edited"); },
                           [this](const std::string& label) {
                             simulation_->BreakpointsChanged();
                             edits_->Clicked(label);
                           });
  connect(flowchart_, &FlowchartWindow::SelectionChanged, edits_, &EditCommands::Refresh);
  connect(flowchart_, &FlowchartWindow::TitleChanged, flowchartSub_,
          &QMdiSubWindow::setWindowTitle);
  connect(flowchart_, &FlowchartWindow::RepaintBoth, toolbar_, qOverload<>(&QWidget::update));
}

void StepcraftWindow::RepaintBoth() {
  flowchart_->update();
  toolbar_->update();
}

void StepcraftWindow::OpenAtStart(const std::string& path) {
  simulation_->StopFor("edited");
  if (documents_.OpenPath(path)) DocumentReplaced();
}

void StepcraftWindow::DocumentReplaced() {
  edits_->Replaced();
  flowchart_->SyncScrollBar();
  RepaintBoth();
}

void StepcraftWindow::ShowSimulation() {
  simRefresh_.stop();
  simPanel_->Refresh();
  flowchart_->ShowRunningStep();
}

bool StepcraftWindow::SelectSimSpeed(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kSimSpeedEntries))) return false;
  simulation_->SetSpeed(static_cast<SimSpeed>(index));
  ShowSimulation();
  return true;
}

bool StepcraftWindow::RunCommand(int id) {
  switch (id) {
    case kCommandNew:
      simulation_->StopFor("edited");
      if (documents_.New()) DocumentReplaced();
      return true;
    case kCommandOpen:
      simulation_->StopFor("edited");
      if (documents_.Open()) DocumentReplaced();
      return true;
    case ui::kCommandOpenExample:
      simulation_->StopFor("edited");
      OpenExample();
      return true;
    case kCommandSimRun:
    case kCommandSimPause:
    case kCommandSimStep:
    case kCommandSimStop:
      simulation_->Command(id);
      // What the command did shows at once, the lit step too.
      ShowSimulation();
      return true;
    case kCommandSave:
      documents_.Save();
      edits_->Saved();
      flowchart_->update();  // the caption shows a new name at once
      return true;
    case kCommandSaveAs:
      documents_.SaveAs();
      edits_->Saved();
      flowchart_->update();
      return true;
    case kCommandPrint:
      Print();
      return true;
    case kCommandImageDump:
      if (services_.showImageDump) services_.showImageDump(this, state_.program);
      return true;
    case kCommandReconnect:
      panel_->RefreshBoardButtons();
      return true;
    case kCommandAbout:
      if (services_.showAbout) services_.showAbout(this);
      return true;
    case kCommandExit:
      if (!documents_.MayDiscard(flowchart::GuardedCommand::kExit)) return true;
      exitConfirmed_ = true;
      close();
      return true;
    default:
      break;
  }
  if (edits_->Command(id)) return true;
  if (panel_->Command(id)) return true;
  return flowchart_->Command(id);
}

void StepcraftWindow::OpenExample() {
  // As the open command: the save-changes question first, then the choice, then the load.
  if (!documents_.MayDiscard(flowchart::GuardedCommand::kOpen)) return;
  const std::optional<QString> path =
      ui::ChooseExample(this, services_.prompter, QStringLiteral(".flc"));
  if (path) documents_.OpenExample(path->toStdString());
  DocumentReplaced();  // a save on the way may have renamed the document
}

void StepcraftWindow::Print() {
  QPrinter printer(QPrinter::HighResolution);
  if (!services_.printing.Choose(printer, this)) return;
  const std::vector<interaction::DrawList> pages = flowchart::view::PrintPages(
      state_.program, state_.documentTitle, ui::PrinterGeometry(printer), ui::ShiftJisToUtf8);
  if (!ui::PaintPages(printer, pages)) {
    services_.prompter.Ask(interaction::Prompt{ui::kPrinterErrorText, ui::kPrinterErrorCaption,
                                               interaction::PromptButtons::Ok,
                                               interaction::PromptIcon::Error});
  }
}

void StepcraftWindow::closeEvent(QCloseEvent* event) {
  if (ended_) {
    event->accept();
    return;
  }
  if (!endQuietly_ && !exitConfirmed_ &&
      !documents_.MayDiscard(flowchart::GuardedCommand::kClose)) {
    event->ignore();
    return;
  }
  exitConfirmed_ = false;
  ended_ = true;
  event->accept();
  simulation_->StopFor("closed");
  services_.board.CloseChannels();
  // Back to the launcher, as when the editor was started from it; a launcher that cannot be
  // started just leaves this editor ending.
  if (!endQuietly_) services_.starter.StartProgram(Text(kLauncherProgram));
  emit Ended();
}

}  // namespace pendra2::flowchart_ui
