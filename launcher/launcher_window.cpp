#include "launcher/launcher_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <tuple>

#include "launcher/background_canvas.h"
#include "launcher/board_check.h"
#include "launcher/launcher_texts.h"
#include "ui_common/about_box.h"
#include "ui_common/about_shortcuts.h"
#include "ui_common/bitmaps.h"
#include "ui_common/hid_failure.h"

namespace pendra2::launcher {
namespace {

constexpr QSize kWindowSize(517, 460);
constexpr QRect kChimecraftButtonRect(40, 60, 200, 159);
constexpr QRect kStepcraftButtonRect(270, 60, 200, 159);
// The words under the pictures (drawn in the background): a child clicks the words too.
constexpr QRect kChimecraftCaptionRect(60, 232, 160, 26);
constexpr QRect kStepcraftCaptionRect(290, 232, 160, 26);
constexpr QRect kStatusRect(20, 342, 295, 50);

QString Text(const char* utf8) {
  return QString::fromUtf8(utf8);
}

QPushButton* MakePictureButton(QWidget* parent, int command, const char* art, QRect rect,
                               const QString& toolTip) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QString::number(command));
  button->setGeometry(rect);
  const QImage picture = ui::LoadBitmap(Text(art), rect.size());
  button->setIcon(QIcon(QPixmap::fromImage(picture)));
  button->setIconSize(rect.size());
  button->setFlat(true);
  button->setCursor(Qt::PointingHandCursor);
  button->setToolTip(toolTip);
  button->setAccessibleName(toolTip);
  return button;
}

}  // namespace

LauncherWindow::LauncherWindow(ui::BoardWorker& board, interaction::Prompter& prompter,
                               ui::ProgramStarter& starter, QWidget* parent)
    : QMainWindow(parent), board_(board), prompter_(prompter), starter_(starter) {
  setObjectName(Text(kClassName));
  setWindowTitle(Text(kWindowTitle));
  setWindowIcon(QIcon(QPixmap::fromImage(ui::LoadBitmap(Text(kIconArt), QSize(64, 64)))));

  pollTimer_.setSingleShot(true);
  pollTimer_.setInterval(kPollPeriodMs);
  connect(&pollTimer_, &QTimer::timeout, this, &LauncherWindow::PollTick);

  BuildMenu();
  BuildClientArea();
  resize(kWindowSize);
  RestartPoll();
}

void LauncherWindow::BuildMenu() {
  QMenu* file = menuBar()->addMenu(Text("ファイル(&F)"));
  QAction* exit = file->addAction(Text("アプリケーションの終了(&X)"));
  exit->setData(kCommandExit);
  connect(exit, &QAction::triggered, this, [this] { RunCommand(kCommandExit); });

  QMenu* help = menuBar()->addMenu(Text("ヘルプ(&H)"));
  QAction* about = help->addAction(Text("バージョン情報(&A)..."));
  about->setData(kCommandAbout);
  // Both keys work while the main window has focus, as the accelerator table had them.
  about->setShortcuts(ui::AboutShortcuts());
  about->setShortcutContext(Qt::WindowShortcut);
  connect(about, &QAction::triggered, this, [this] { RunCommand(kCommandAbout); });
}

void LauncherWindow::BuildClientArea() {
  auto* canvas = new BackgroundCanvas(this);
  canvas->setMouseTracking(true);
  canvas->installEventFilter(this);
  setCentralWidget(canvas);

  chimecraftButton_ = MakePictureButton(canvas, kCommandChimecraft, kChimecraftArt,
                                        kChimecraftButtonRect, QStringLiteral("Chimecraft"));
  stepcraftButton_ = MakePictureButton(canvas, kCommandStepcraft, kStepcraftArt,
                                       kStepcraftButtonRect, QStringLiteral("Stepcraft"));
  connect(chimecraftButton_, &QPushButton::clicked, this,
          [this] { RunCommand(kCommandChimecraft); });
  connect(stepcraftButton_, &QPushButton::clicked, this, [this] { RunCommand(kCommandStepcraft); });
  for (const auto& [command, rect, picture] :
       {std::tuple(kCommandChimecraft, kChimecraftCaptionRect, chimecraftButton_),
        std::tuple(kCommandStepcraft, kStepcraftCaptionRect, stepcraftButton_)}) {
    auto* caption = new QPushButton(canvas);
    caption->setObjectName(QString::number(command) + QStringLiteral("-caption"));
    caption->setGeometry(rect);
    caption->setFlat(true);
    caption->setStyleSheet(
        QStringLiteral("QPushButton { border: none; background: transparent; }"));
    caption->setCursor(Qt::PointingHandCursor);
    caption->setToolTip(picture->toolTip());
    caption->setAccessibleName(picture->accessibleName());
    caption->setFocusPolicy(Qt::NoFocus);
    caption->installEventFilter(this);
    connect(caption, &QPushButton::clicked, this,
            [this, command = command] { RunCommand(command); });
  }

  status_ = new QLabel(Text(kInitialStatusText), canvas);
  status_->setObjectName(QString::number(kStatusTextId));
  status_->setGeometry(kStatusRect);
  status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  status_->setTextFormat(Qt::PlainText);

  // The pointer over the buttons reaches the window too, so it also holds the poll back.
  for (QWidget* child : {static_cast<QWidget*>(chimecraftButton_),
                         static_cast<QWidget*>(stepcraftButton_), static_cast<QWidget*>(status_)})
    child->installEventFilter(this);
}

void LauncherWindow::RunCommand(int command) {
  switch (command) {
    case kCommandAbout: {
      ui::AboutBox about(
          {kAboutTitle, kWindowTitle, ui::LoadBitmap(QString::fromUtf8(kIconArt), QSize(48, 48)),
           "Virsion", kProgramVersion, kAboutVersionId, kBuildNumber, kAboutBuildId},
          this);
      about.exec();
      break;
    }
    case kCommandExit:
      close();
      break;
    case kCommandChimecraft:
      StartChimecraft();
      break;
    case kCommandStepcraft:
      StartStepcraft();
      break;
    default:
      break;
  }
}

bool LauncherWindow::event(QEvent* event) {
  // Every message the window handles pushes the next tick 50 ms away, so the poll only runs
  // once the window has been quiet that long.
  RestartPoll();
  return QMainWindow::event(event);
}

bool LauncherWindow::eventFilter(QObject* watched, QEvent* event) {
  RestartPoll();
  return QMainWindow::eventFilter(watched, event);
}

void LauncherWindow::closeEvent(QCloseEvent* event) {
  state_ = State::Closing;
  pollTimer_.stop();
  QMainWindow::closeEvent(event);
}

void LauncherWindow::RestartPoll() {
  // One poll at a time: the next is timed from the moment the last one was told.
  if (state_ == State::Idle && !pollInFlight_) pollTimer_.start();
}

void LauncherWindow::PollTick() {
  if (state_ != State::Idle || pollInFlight_) return;
  pollTimer_.stop();
  ++pollCount_;
  pollInFlight_ = true;
  board_.Ask(
      this, [](device::Board& board) { return PollBoard(board); },
      [this](PollOutcome outcome) { ShowPoll(outcome); });
}

void LauncherWindow::ShowPoll(PollOutcome outcome) {
  pollInFlight_ = false;
  // A Stepcraft check or a start came in meanwhile: it decides what happens now.
  if (state_ != State::Idle) return;
  switch (outcome) {
    case PollOutcome::ListUnavailable:
      EndForUnavailableList();
      return;
    case PollOutcome::BoardFound:
      status_->setText(Text(kBoardFoundText));
      break;
    case PollOutcome::NoAnswer:
      status_->setText(Text(kNoAnswerStatusText));
      break;
    case PollOutcome::NoBoard:
      status_->setText(Text(kNoBoardText));
      break;
  }
  RestartPoll();
}

void LauncherWindow::StartChimecraft() {
  if (state_ != State::Idle) return;
  StartEditorAndClose(kChimecraftProgram);
}

void LauncherWindow::StartStepcraft() {
  if (state_ != State::Idle) return;
  state_ = State::Checking;
  pollTimer_.stop();
  // The window keeps drawing while a board that does not answer takes its time.
  board_.Ask(
      this, [](device::Board& board) { return CheckStepcraftBoard(board); },
      [this](StepcraftGate gate) { CheckedStepcraft(gate); });
}

void LauncherWindow::CheckedStepcraft(StepcraftGate gate) {
  if (state_ != State::Checking) return;
  switch (gate) {
    case StepcraftGate::ListUnavailable:
      EndForUnavailableList();
      return;
    case StepcraftGate::WrongGeneration:
    case StepcraftGate::NoAnswer: {
      const bool silent = gate == StepcraftGate::NoAnswer;
      prompter_.Ask(interaction::Prompt{
          silent ? kNoAnswerText : kWrongGenerationText,
          silent ? kNoAnswerCaption : kWrongGenerationCaption, interaction::PromptButtons::Ok,
          silent ? interaction::PromptIcon::Warning : interaction::PromptIcon::None});
      state_ = State::Idle;
      RestartPoll();
      return;
    }
    case StepcraftGate::StartWithoutBoard:
    case StepcraftGate::Start:
      StartEditorAndClose(kStepcraftProgram);
      return;
  }
}

void LauncherWindow::StartEditorAndClose(const char* program) {
  state_ = State::Checking;
  pollTimer_.stop();
  const QString name = Text(program);
  if (starter_.StartProgram(name)) {
    close();
    return;
  }
  // Vanishing without a word would leave a child wondering where the editor went.
  prompter_.Ask(interaction::Prompt{Text(kStartFailedText).arg(name).toStdString(),
                                    kStartFailedCaption, interaction::PromptButtons::Ok,
                                    interaction::PromptIcon::Warning});
  state_ = State::Idle;
  RestartPoll();
}

void LauncherWindow::EndForUnavailableList() {
  state_ = State::Closing;
  pollTimer_.stop();
  endStatus_ = ui::ReportHidFailure(prompter_);
  // A version box may be open when a poll inside it fails; it must not keep the program up.
  for (QDialog* dialog : findChildren<QDialog*>()) dialog->reject();
  close();
}

}  // namespace pendra2::launcher
