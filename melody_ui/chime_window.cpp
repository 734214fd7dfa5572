#include "melody_ui/chime_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPrinter>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "melody/edit_commands.h"
#include "melody/exchange/tune_export.h"
#include "melody/score_edits.h"
#include "melody/score_files.h"
#include "melody/tempo_table.h"
#include "melody/transfer.h"
#include "melody/view/score_pages.h"
#include "melody_ui/chime_texts.h"
#include "melody_ui/midi_import_dialog.h"
#include "melody_ui/score_canvas.h"
#include "ui_common/about_box.h"
#include "ui_common/bitmaps.h"
#include "ui_common/board_chooser.h"
#include "ui_common/board_messages.h"
#include "ui_common/example_gallery.h"
#include "ui_common/music_box.h"
#include "ui_common/print_pages_painter.h"
#include "ui_common/transfer_progress.h"

namespace pendra2::melody_ui {
namespace {

constexpr QSize kPanelClient{600, 70};
// Below the board buttons: which board they act on, while there is one to choose.
constexpr QRect kBoardChooserRect{20, 40, 230, 24};
// Below the playback buttons: why the PC stays silent, when it does.
constexpr QRect kSoundNoticeRect{200, 40, 395, 24};
constexpr QPoint kScoreWindowAt{0, 75};
// What the layout keeps between the panel's frame and the score window's when the frames
// push the score window down.
constexpr int kChildGap = 5;
// Discovery runs on every repaint, but not more often than the launcher polls: a playback
// at the fastest tempo repaints every few milliseconds.
constexpr auto kDiscoveryInterval = std::chrono::milliseconds(50);
// While a playback runs, a look for the board takes a good part of a 4 ms beat; the board
// is looked for less often then, which still hides its controls within a second.
constexpr auto kDiscoveryIntervalPlaying = std::chrono::milliseconds(1000);

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void SetBackground(QWidget* widget, unsigned rgb) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, QColor::fromRgb(rgb));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

// The name a step goes by in the edit menu.
const char* StepName(melody::ScoreEdit edit) {
  using melody::ScoreEdit;
  switch (edit) {
    case ScoreEdit::kNote:
      return kNoteStep;
    case ScoreEdit::kInsertColumns:
      return kInsertStep;
    case ScoreEdit::kDeleteColumns:
      return kDeleteStep;
    case ScoreEdit::kLoopStart:
    case ScoreEdit::kLoopEnd:
      return kLoopPlacedStep;
    case ScoreEdit::kLoopCount:
      return kLoopCountStep;
    case ScoreEdit::kLoopRemoved:
      return kLoopRemovedStep;
    case ScoreEdit::kTempo:
      return kTempoStep;
    case ScoreEdit::kCut:
      return kCutStep;
    case ScoreEdit::kPaste:
      return kPasteStep;
  }
  return "";
}

QString ItemNaming(const char* item, std::optional<melody::ScoreEdit> step) {
  QString text = QString::fromUtf8(item);
  if (step) text += QStringLiteral(": ") + QString::fromUtf8(StepName(*step));
  return text;
}

QCursor ModeCursor(int editMode) {
  const char* name = melody::ModeCursorName(editMode);
  if (name == nullptr) return Qt::ArrowCursor;
  const QImage image = ui::LoadBitmap(QString::fromLatin1(name), QSize(32, 32));
  if (image.isNull()) return Qt::CrossCursor;
  return QCursor(QPixmap::fromImage(image), 0, 0);
}

// A child window of the workspace with a caption and sizing border that cannot be closed
// on its own: it lives as long as the main window.
QMdiSubWindow* AddChild(QMdiArea* area, QWidget* widget, const QString& caption) {
  auto* child =
      area->addSubWindow(widget, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint);
  child->setWindowTitle(caption);
  child->setOption(QMdiSubWindow::RubberBandResize, false);
  return child;
}

}  // namespace

ChimeWindow::ChimeWindow(melody::MelodyState& state, ChimeServices services)
    : state_(state), services_(services) {
  setWindowTitle(QString::fromUtf8(kProgramTitle));
  setObjectName(QStringLiteral("ORGEL2"));
  area_ = new QMdiArea(this);
  area_->setBackground(QColor::fromRgb(kMainBackground));
  setCentralWidget(area_);
  BuildMenus();
  BuildPanel();
  BuildScoreWindow();
  playback_ = new PlaybackDriver(
      state_, services_.board, [this] { ShowPlayedColumn(); },
      [this](uint8_t note) {
        if (services_.sound != nullptr) services_.sound->Strike(note);
      },
      this);
  if (services_.sound != nullptr) {
    connect(services_.sound, &ui::MusicBox::unavailable, soundNotice_, [this](const QString& why) {
      soundNotice_->setText(why);
      soundNotice_->show();
    });
  }
  ShowTitle();
  LookAtClipboard();
  LayOut();
  panelWindow_->installEventFilter(this);
  scoreWindow_->installEventFilter(this);
  ShowBoardControls(services_.board.status());
  connect(&services_.board, &ui::BoardWorker::StatusChanged, this, &ChimeWindow::ShowBoardControls);
  RefreshBoardControls();
}

ChimeWindow::~ChimeWindow() = default;

void ChimeWindow::BuildMenus() {
  auto add = [this](QMenu* menu, const char* text, int id) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setObjectName(QString::number(id));
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { Command(id); });
    return action;
  };
  QMenu* file = menuBar()->addMenu(QString::fromUtf8("ファイル(&F)"));
  // The keys every editor has, shown beside their items; they act while the window has focus.
  const auto key = [](QAction* action, QKeySequence::StandardKey standard) {
    action->setShortcut(standard);
    action->setShortcutContext(Qt::WindowShortcut);
  };
  key(add(file, "新規作成", kCmdNew), QKeySequence::New);
  key(add(file, "保存", kCmdSave), QKeySequence::Save);
  key(add(file, "読込み", kCmdLoad), QKeySequence::Open);
  add(file, "サンプルを開く", ui::kCommandOpenExample);
  file->addSeparator();
  add(file, "MIDIファイル読込み", kCmdImportMidi);
  add(file, "MIDIファイル書き出し", kCmdExportMidi);
  add(file, "WAVファイル書き出し", kCmdExportWav);
  file->addSeparator();
  key(add(file, "印刷", kCmdPrint), QKeySequence::Print);
  file->addSeparator();
  add(file, "アプリケーションの終了(&X)", kCmdExit);
  QMenu* edit = menuBar()->addMenu(QString::fromUtf8(kEditMenu));
  const auto keys = [](QAction* action, std::initializer_list<const char*> sequences) {
    QList<QKeySequence> shortcuts;
    for (const char* sequence : sequences) shortcuts.push_back(QKeySequence(sequence));
    action->setShortcuts(shortcuts);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
  };
  editActions_ = {
      keys(add(edit, kUndoItem, kCmdUndo), {"Ctrl+Z"}),
      keys(add(edit, kRedoItem, kCmdRedo), {"Ctrl+Y", "Ctrl+Shift+Z"}),
      keys(add(edit, kCutItem, kCmdCut), {"Ctrl+X"}),
      keys(add(edit, kCopyItem, kCmdCopy), {"Ctrl+C"}),
      keys(add(edit, kPasteItem, kCmdPaste), {"Ctrl+V"}),
      keys(add(edit, kSelectAllItem, kCmdSelectAll), {"Ctrl+A"}),
  };
  edit->insertSeparator(editActions_[2]);
  edit->insertSeparator(editActions_[5]);
  // Another program, or another Chimecraft, may put columns there at any time.
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
          &ChimeWindow::LookAtClipboard);
  QMenu* control = menuBar()->addMenu(QString::fromUtf8("コントロール"));
  loopPlay_ = add(control, "ループ再生", kCmdLoopPlay);
  loopPlay_->setCheckable(true);
  // The check mark follows loopPlay through Command, not through Qt's own toggling.
  disconnect(loopPlay_, &QAction::triggered, this, nullptr);
  connect(loopPlay_, &QAction::triggered, this, [this] { Command(kCmdLoopPlay); });
  pcAlso_ = add(control, "PCでも鳴らす", kCmdPcAlso);
  pcAlso_->setCheckable(true);
  disconnect(pcAlso_, &QAction::triggered, this, nullptr);
  connect(pcAlso_, &QAction::triggered, this, [this] { Command(kCmdPcAlso); });
  reconnect_ = add(control, "Pendra 再接続", kCmdReconnect);
  QMenu* help = menuBar()->addMenu(QString::fromUtf8("ヘルプ(&H)"));
  QAction* about = add(help, "バージョン情報(&A)...", kCmdAbout);
  about->setShortcuts(
      {QKeySequence(QStringLiteral("Alt+?")), QKeySequence(QStringLiteral("Alt+/"))});
  about->setShortcutContext(Qt::WindowShortcut);
}

void ChimeWindow::BuildPanel() {
  panel_ = new QWidget;
  panel_->setObjectName(QStringLiteral("COMConnectionWndClass"));
  SetBackground(panel_, kPanelBackground);
  panel_->setMinimumSize(kPanelClient);
  panel_->resize(kPanelClient);
  struct PanelButton {
    const char* art;
    int id;
    int x;
    bool board;  // shown only while a board is there; the PC's own playback always
  };
  static constexpr PanelButton kButtons[] = {
      {"PICREC", kCmdTransfer, 20, true},       {"PICPLAY", kCmdBoardRun, 70, true},
      {"PICSTOP", kCmdBoardStop, 120, true},    {"PCPLAY", kCmdWholePlay, 200, false},
      {"PCPARTPLAY", kCmdPartPlay, 250, false}, {"PCSTOP", kCmdStopPlay, 300, false},
  };
  for (const auto& b : kButtons) {
    QToolButton* button = MakeArtButton(b.art, b.id, QRect(b.x, 5, 50, 30), panel_);
    const int id = b.id;
    connect(button, &QToolButton::clicked, this, [this, id] { Command(id); });
    if (b.board) boardControls_.push_back(button);
  }
  tempoList_ = new QComboBox(panel_);
  tempoList_->setObjectName(QString::number(kTempoList));
  tempoList_->setGeometry(400, 5, 120, 24);
  tempoList_->setMaxVisibleItems(melody::kTempoCount);
  for (const auto& row : melody::kTempoTable) tempoList_->addItem(Utf8(row.label));
  tempoList_->setCurrentIndex(melody::kDefaultTempoIndex);
  // Only the user's choices run the tempo handling; the program's own selections do not.
  connect(tempoList_, &QComboBox::activated, this, [this](int index) { SelectTempo(index); });
  soundNotice_ = new QLabel(panel_);
  soundNotice_->setObjectName(QString::number(kSoundNotice));
  soundNotice_->setGeometry(kSoundNoticeRect);
  soundNotice_->hide();
  chooser_ = new ui::BoardChooser(services_.board, panel_);
  chooser_->setGeometry(kBoardChooserRect);
  panelWindow_ = AddChild(area_, panel_, QString::fromUtf8(kPanelCaption));
  panel_->installEventFilter(this);
}

void ChimeWindow::BuildScoreWindow() {
  auto* pane = new QWidget;
  pane->setObjectName(QStringLiteral("ScoreWndClass"));
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  canvas_ = new ScoreCanvas(state_, pane);
  scrollBar_ = new QScrollBar(Qt::Horizontal, pane);
  scrollBar_->setRange(0, melody::kMaxScrollPos);
  scrollBar_->setSingleStep(1);
  scrollBar_->setPageStep(20);
  layout->addWidget(canvas_);
  layout->addWidget(scrollBar_);
  canvas_->pressed = [this](int x, int y) { Pressed(x, y); };
  canvas_->released = [this](int x, int y) { Released(x, y); };
  canvas_->moved = [this](int x, int y) { Moved(x, y); };
  canvas_->dragged = [this](int x, int y) { Dragged(x, y); };
  canvas_->painting = [this] {
    RefreshBoardControls();
    ShowTitle();
  };
  connect(canvas_->deleteButton(), &QToolButton::clicked, this,
          [this] { Command(kCmdDeleteMode); });
  connect(canvas_->insertButton(), &QToolButton::clicked, this,
          [this] { Command(kCmdInsertMode); });
  connect(canvas_->loopButton(), &QToolButton::clicked, this,
          [this] { Command(kCmdLoopStartMode); });
  connect(scrollBar_, &QScrollBar::actionTriggered, this, [this](int action) {
    switch (action) {
      case QAbstractSlider::SliderSingleStepSub:
        Scroll(melody::ScrollStep::kLineLeft);
        break;
      case QAbstractSlider::SliderSingleStepAdd:
        Scroll(melody::ScrollStep::kLineRight);
        break;
      case QAbstractSlider::SliderPageStepSub:
        Scroll(melody::ScrollStep::kPageLeft);
        break;
      case QAbstractSlider::SliderPageStepAdd:
        Scroll(melody::ScrollStep::kPageRight);
        break;
      case QAbstractSlider::SliderMove:
        Scroll(melody::ScrollStep::kThumb, scrollBar_->sliderPosition());
        break;
      default:
        break;
    }
  });
  scoreWindow_ = AddChild(area_, pane, Utf8(state_.documentTitle));
}

void ChimeWindow::LayOut() {
  // The frame of a child window is what the sub-window adds around its widget.
  auto place = [](QMdiSubWindow* child, QPoint at, QSize client) {
    child->widget()->setMinimumSize(client);
    child->widget()->resize(client);
    // The sub-window's own size hint is its widget's plus the caption and the frame.
    child->setGeometry(QRect(at, child->sizeHint().expandedTo(client)));
  };
  place(panelWindow_, QPoint(0, 0), kPanelClient);
  const QSize scoreClient(melody::kClientWidth,
                          melody::kClientHeight + scrollBar_->sizeHint().height());
  // The client sizes are as given and the frames come on top, so the score window goes
  // below the panel's whole frame, caption included, wherever the frames are taller than the
  // given places allow.
  const int belowPanel = panelWindow_->geometry().bottom() + 1;
  QPoint scoreAt = kScoreWindowAt;
  if (belowPanel > scoreAt.y()) scoreAt.setY(belowPanel + kChildGap);
  place(scoreWindow_, scoreAt, scoreClient);
  const QRect used = panelWindow_->geometry().united(scoreWindow_->geometry());
  const int menuHeight = menuBar()->sizeHint().height();
  resize(std::max(800, used.right() + 1), used.bottom() + 1 + menuHeight);
  if (qEnvironmentVariableIsSet("PENDRA2_DEBUG_LAYOUT")) {
    qWarning("panel %d,%d %dx%d score %d,%d %dx%d canvas %dx%d main %dx%d", panelWindow_->x(),
             panelWindow_->y(), panelWindow_->width(), panelWindow_->height(), scoreWindow_->x(),
             scoreWindow_->y(), scoreWindow_->width(), scoreWindow_->height(), canvas_->width(),
             canvas_->height(), width(), height());
  }
}

bool ChimeWindow::boardControlsShown() const {
  return !boardControls_.empty() && !boardControls_.front()->isHidden();
}

void ChimeWindow::RefreshBoardControls(bool now) {
  const auto at = std::chrono::steady_clock::now();
  const auto interval = state_.playback.playState == melody::kPlaying ? kDiscoveryIntervalPlaying
                                                                      : kDiscoveryInterval;
  if (!now && discovered_ && at - lastDiscovery_ < interval) return;
  discovered_ = true;
  lastDiscovery_ = at;
  // During a transfer the worker writes the image first; the look follows it.
  services_.board.RequestRefresh();
}

void ChimeWindow::ShowBoardControls(const ui::BoardStatus& status) {
  const bool shown = status.present();
  for (QWidget* control : boardControls_) {
    if (control->isHidden() == shown) control->setVisible(shown);
  }
}

void ChimeWindow::ShowTitle() {
  const QString caption = Utf8(state_.documentTitle);
  if (scoreWindow_ != nullptr && scoreWindow_->windowTitle() != caption) {
    scoreWindow_->setWindowTitle(caption);
  }
}

void ChimeWindow::Redraw() {
  // Whatever changed may be what a running playback reads next.
  if (state_.playback.playState == melody::kPlaying) playback_->ScoreChanged();
  canvas_->update();
  SyncEditMenu();
}

QAction* ChimeWindow::editAction(int id) const {
  const int at = id - kCmdUndo;
  if (at < 0 || at >= static_cast<int>(editActions_.size())) return nullptr;
  return editActions_[static_cast<std::size_t>(at)];
}

void ChimeWindow::LookAtClipboard() {
  mayPaste_ = clipboard().HoldsColumns();
  SyncEditMenu();
}

void ChimeWindow::SyncEditMenu() {
  if (editActions_.empty()) return;
  const auto show = [this](int id, bool enabled, const QString& text = {}) {
    QAction* action = editAction(id);
    if (action->isEnabled() != enabled) action->setEnabled(enabled);
    if (!text.isEmpty() && action->text() != text) action->setText(text);
  };
  const bool undo = melody::MayUndo(state_);
  const bool redo = melody::MayRedo(state_);
  show(kCmdUndo, undo, ItemNaming(kUndoItem, undo ? state_.history.UndoEdit() : std::nullopt));
  show(kCmdRedo, redo, ItemNaming(kRedoItem, redo ? state_.history.RedoEdit() : std::nullopt));
  show(kCmdCut, melody::MayCutOrCopy(state_));
  show(kCmdCopy, melody::MayCutOrCopy(state_));
  show(kCmdPaste, mayPaste_);
  show(kCmdSelectAll, melody::MaySelectAll(state_));
}

void ChimeWindow::ShowPlayedColumn() {
  const int follow = melody::FollowPlayedColumn(state_.scrollPos, state_.playback);
  if (follow != state_.scrollPos) {
    state_.scrollPos = follow;
    SyncScrollBar();
  }
  Redraw();
}

void ChimeWindow::SyncScrollBar() {
  const QSignalBlocker block(scrollBar_);
  scrollBar_->setValue(state_.scrollPos);
}

void ChimeWindow::SyncTempoList() {
  const QSignalBlocker block(tempoList_);
  tempoList_->setCurrentIndex(state_.score.tempoIndex);
}

bool ChimeWindow::SoundsOnPc() const {
  return services_.sound != nullptr &&
         (pcAlso_->isChecked() || !services_.board.status().present());
}

void ChimeWindow::SoundOnPc(const melody::Sends& sends) {
  if (!SoundsOnPc()) return;
  for (int i = 0; i < sends.count; ++i) {
    const uint8_t code = sends.codes[static_cast<std::size_t>(i)];
    if (code <= melody::kHighestNote) {
      services_.sound->Strike(code);
    } else if (sends.count == 1) {
      services_.sound->Damp();
    }
  }
}

void ChimeWindow::DampPc() {
  if (services_.sound != nullptr) services_.sound->Damp();
}

QString ChimeWindow::soundNotice() const {
  return soundNotice_->isHidden() ? QString() : soundNotice_->text();
}

void ChimeWindow::SendNotes(const melody::Sends& sends) {
  SoundOnPc(sends);
  if (sends.count == 0) return;
  services_.board.Send([sends](device::Board& board) {
    if (!board.found()) return;
    for (int i = 0; i < sends.count; ++i) board.PlayNote(sends.codes[static_cast<std::size_t>(i)]);
  });
}

void ChimeWindow::RunOrStopBoard(int command) {
  if (!melody::MayRunOrStopBoard(MayBeFound(), state_.playback)) return;
  services_.board.Ask(
      this,
      [command](device::Board& board) {
        if (!board.found()) return true;  // no board: nothing to send, nothing to say
        return command == kCmdBoardRun ? board.Run() : board.Stop();
      },
      [this](bool reached) {
        if (!reached) interaction::Tell(services_.prompter, ui::kBoardUnreachableMessage);
      });
}

void ChimeWindow::CloseBoard() {
  services_.board.CloseChannels();
}

void ChimeWindow::Pressed(int x, int y) {
  if (melody::PressInScore(state_, x, y)) Redraw();
}

void ChimeWindow::Dragged(int x, int /*y*/) {
  const melody::DragEffect effect = melody::DragInScore(state_, x);
  if (effect.scrollMoved) SyncScrollBar();
  if (effect.redraw) Redraw();
}

void ChimeWindow::Released(int x, int y) {
  // The sounds are asked for whenever someone hears them; the board's are sent only to a
  // board that is there.
  const melody::ReleaseEffect effect = melody::ReleaseInScore(
      state_, x, y, MayBeFound() || SoundsOnPc(), services_.prompter, services_.counts);
  SendNotes(effect.sends);
  if (effect.scrollMoved) SyncScrollBar();
  if (effect.redraw) Redraw();
  canvas_->setCursor(ModeCursor(state_.editMode));
}

void ChimeWindow::Moved(int x, int y) {
  if (state_.editMode != melody::kEditMode) canvas_->setCursor(ModeCursor(state_.editMode));
  if (melody::MoveInScore(state_, x, y)) Redraw();
}

void ChimeWindow::Scroll(melody::ScrollStep step, int thumb) {
  state_.scrollPos = melody::ScrollAfter(state_.scrollPos, step, thumb);
  SyncScrollBar();
  Redraw();
}

bool ChimeWindow::SelectTempo(int index) {
  if (index < 0 || index >= melody::kTempoCount) return false;
  {
    const QSignalBlocker block(tempoList_);
    tempoList_->setCurrentIndex(index);
  }
  const bool chosen = melody::ChangeTempo(state_, index);
  SyncEditMenu();
  playback_->ScoreChanged();  // the next tick of a running playback takes the new period
  return chosen;
}

void ChimeWindow::SetEditMode(int mode) {
  state_.editMode = mode;
  canvas_->setCursor(ModeCursor(mode));
  Redraw();
}

bool ChimeWindow::Command(int id) {
  switch (id) {
    case kCmdNew:
      NewCommand();
      return true;
    case kCmdSave:
      SaveCommand();
      return true;
    case kCmdLoad:
      LoadCommand();
      return true;
    case ui::kCommandOpenExample:
      OpenExampleCommand();
      return true;
    case kCmdPrint:
      PrintCommand();
      return true;
    case kCmdExit:
      close();
      return true;
    case kCmdLoopPlay:
      state_.playback.loopPlay = !state_.playback.loopPlay;
      loopPlay_->setChecked(state_.playback.loopPlay);
      playback_->ScoreChanged();
      return true;
    case kCmdAbout: {
      ui::AboutBox about(
          {kAboutTitle, kProgramTitle, QApplication::windowIcon().pixmap(48, 48).toImage(),
           "Version", kProgramVersion, kAboutVersionId, kBuildNumber, kAboutBuildId},
          this);
      about.exec();
      return true;
    }
    case kCmdTransfer:
      TransferCommand();
      return true;
    case kCmdBoardRun:
    case kCmdBoardStop:
      RunOrStopBoard(id);
      return true;
    case kCmdReconnect:
      RefreshBoardControls(true);
      return true;
    case kCmdWholePlay:
      playback_->StartWhole();
      return true;
    case kCmdPartPlay:
      playback_->StartPart();
      return true;
    case kCmdStopPlay:
      playback_->Stop();
      DampPc();
      return true;
    case kCmdPcAlso:
      pcAlso_->setChecked(!pcAlso_->isChecked());
      playback_->SetPcAlso(pcAlso_->isChecked());
      return true;
    case kCmdImportMidi:
      ImportMidiCommand();
      return true;
    case kCmdExportMidi:
      ExportCommand(melody::exchange::ExportKind::kMidi);
      return true;
    case kCmdExportWav:
      ExportCommand(melody::exchange::ExportKind::kWav);
      return true;
    case kCmdLoopStartMode:
      SetEditMode(melody::kLoopStartMode);
      return true;
    case kCmdDeleteMode:
      SetEditMode(melody::kDeleteMode);
      return true;
    case kCmdInsertMode:
      SetEditMode(melody::kInsertMode);
      return true;
    case kCmdUndo:
    case kCmdRedo:
    case kCmdCut:
    case kCmdCopy:
    case kCmdPaste:
    case kCmdSelectAll:
      EditCommand(id);
      return true;
    default:
      return false;
  }
}

void ChimeWindow::EditCommand(int id) {
  const bool changesColumns = id == kCmdUndo || id == kCmdRedo || id == kCmdCut || id == kCmdPaste;
  if (changesColumns && state_.playback.playState == melody::kPlaying) playback_->Stop();
  interaction::Outcome outcome;
  switch (id) {
    case kCmdUndo:
      melody::UndoEdit(state_);
      break;
    case kCmdRedo:
      melody::RedoEdit(state_);
      break;
    case kCmdCut:
      outcome = melody::CutColumns(state_, clipboard());
      break;
    case kCmdCopy:
      outcome = melody::CopyColumns(state_, clipboard());
      break;
    case kCmdPaste:
      outcome = melody::PasteColumns(state_, clipboard());
      break;
    default:
      melody::SelectAllColumns(state_);
      break;
  }
  if (id == kCmdCut || id == kCmdCopy) LookAtClipboard();
  // The tempo may have been undone too, and a mode waiting for its click has ended.
  SyncTempoList();
  SyncScrollBar();
  canvas_->setCursor(ModeCursor(state_.editMode));
  Redraw();
  interaction::Tell(services_.prompter, outcome);
}

void ChimeWindow::NewCommand() {
  melody::ScoreDocument doc{state_, services_.prompter, services_.files};
  const bool mayGoOn = melody::MayDiscardScore(doc);
  ShowTitle();  // a save on the way names the file at once
  if (!mayGoOn) return;
  playback_->Abandon();
  DampPc();
  melody::NewScoreDocument(doc);
  loopPlay_->setChecked(false);
  SyncTempoList();
  ShowTitle();
  Redraw();
}

void ChimeWindow::SaveCommand() {
  melody::ScoreDocument doc{state_, services_.prompter, services_.files};
  if (melody::SaveScoreAs(doc)) ShowTitle();
  Redraw();
}

void ChimeWindow::LoadCommand() {
  melody::ScoreDocument doc{state_, services_.prompter, services_.files};
  const bool mayGoOn = melody::MayDiscardScore(doc);
  ShowTitle();  // a save on the way names the file at once
  if (!mayGoOn) return;
  ShowOpened(melody::LoadScore(doc));
}

void ChimeWindow::OpenExampleCommand() {
  // As the load command: the save-changes question first, then the choice, then the load.
  melody::ScoreDocument doc{state_, services_.prompter, services_.files};
  const bool mayGoOn = melody::MayDiscardScore(doc);
  ShowTitle();
  if (!mayGoOn) return;
  const std::optional<QString> path =
      ui::ChooseExample(this, services_.prompter, QStringLiteral(".olg"));
  if (!path) return;
  // Untitled, like a new score: the gallery's file is not the user's document.
  ShowOpened(melody::OpenTuneFile(doc, path->toStdString(), melody::OpenedTitle::kUntitled));
}

void ChimeWindow::ShowOpened(const melody::TuneOpened& opened) {
  if (!opened.opened) return;
  SyncScrollBar();
  SyncTempoList();
  ShowTitle();
  Redraw();
  // The tune is in view behind the warning about what it lacks.
  if (opened.warning) services_.prompter.Ask(interaction::MessagePrompt(*opened.warning));
}

void ChimeWindow::TransferCommand() {
  ui::DialogImageWriter writer(services_.board, panel_);
  const melody::TransferResult result =
      melody::Transfer(state_.score, state_.playback, state_.editMode, writer);
  interaction::Tell(services_.prompter, result.outcome);
  Redraw();
}

bool ChimeWindow::OpenAtStart(const std::string& path) {
  melody::ScoreDocument doc{state_, services_.prompter, services_.files};
  const melody::TuneOpened opened = melody::OpenTuneFile(doc, path, melody::OpenedTitle::kFileName);
  ShowOpened(opened);
  return opened.opened;
}

void ChimeWindow::EndWithoutQuestion() {
  closing_ = true;
  playback_->Abandon();
  CloseBoard();
  close();
}

bool ChimeWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == panel_ && event->type() == QEvent::Paint) RefreshBoardControls();
  // The two child windows live as long as the program (Ctrl+F4 must not take one away).
  if ((watched == panelWindow_ || watched == scoreWindow_) && event->type() == QEvent::Close &&
      !closing_) {
    event->ignore();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void ChimeWindow::PrintCommand() {
  QPrinter printer(QPrinter::HighResolution);
  if (!services_.printer.Choose(printer, this)) return;
  melody::Normalise(state_.score);
  if (!ui::PaintPages(printer,
                      melody::view::ScorePages(state_.score, ui::PrinterGeometry(printer)))) {
    services_.prompter.Ask(interaction::Prompt{ui::kPrinterErrorText, ui::kPrinterErrorCaption,
                                               interaction::PromptButtons::Ok,
                                               interaction::PromptIcon::Error});
  }
  Redraw();
}

void ChimeWindow::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  melody::ScoreDocument doc{state_, services_.prompter, services_.files};
  if (!melody::MayDiscardScore(doc)) {
    // Cancel, a cancelled save dialog or a failed save: the score stays.
    ShowTitle();
    event->ignore();
    return;
  }
  closing_ = true;
  playback_->Abandon();
  CloseBoard();
  if (!services_.replaying) launcherStarted_ = services_.starter.StartProgram(kLauncherProgram);
  event->accept();
}

}  // namespace pendra2::melody_ui
