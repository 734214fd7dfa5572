#include "flowchart_ui/simulation_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "flowchart/listing.h"
#include "flowchart_ui/simulation.h"
#include "flowchart_ui/stepcraft_texts.h"
#include "melody/codes.h"
#include "ui_common/bitmaps.h"
#include "ui_common/board_lamps.h"
#include "ui_common/fonts.h"
#include "ui_common/input_sliders.h"
#include "ui_common/shift_jis.h"

namespace pendra2::flowchart_ui {
namespace {

namespace bs = board_sim;

constexpr int kPanelWidth = 264;
constexpr unsigned kSimBackground = 0xDCEBFA;

struct SimButton {
  const char* art;
  int command;
  const char* text;
  const char* toolTip;
};

constexpr SimButton kSimButtons[] = {
    {"SIMRUN", kCommandSimRun, "実行", "シミュレーション実行（F5）"},
    {"SIMPAUSE", kCommandSimPause, "一時停止", "一時停止（F6）"},
    {"SIMSTEP", kCommandSimStep, "1ステップ", "1ステップ実行（F10）"},
    {"SIMSTOP", kCommandSimStop, "停止", "シミュレーション停止（Shift+F5）"},
};

QLabel* Caption(const char* text, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

}  // namespace

SimulationPanel::SimulationPanel(const flowchart::StepcraftState& state, Simulation& simulation,
                                 std::function<void(int)> command, QWidget* parent)
    : QWidget(parent), state_(state), simulation_(simulation) {
  setObjectName(QStringLiteral("SimulationPanel"));
  setWindowTitle(QString::fromUtf8(kSimPanelTitle));
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor::fromRgb(kSimBackground));
  setPalette(background);
  QFont font = this->font();
  font.setFamilies(ui::GothicFamilies());
  setFont(font);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(6, 6, 6, 6);
  column->setSpacing(5);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(2);
  for (const SimButton& b : kSimButtons) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::number(b.command));
    button->setIcon(QIcon(QPixmap::fromImage(ui::LoadBitmap(QString::fromUtf8(b.art)))));
    button->setIconSize({20, 20});
    button->setText(QString::fromUtf8(b.text));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setToolTip(QString::fromUtf8(b.toolTip));
    button->setAccessibleName(QString::fromUtf8(b.toolTip));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(button, &QToolButton::clicked, this, [command, id = b.command] { command(id); });
    buttons->addWidget(button);
    buttons_[b.command] = button;
  }
  column->addLayout(buttons);

  auto* speedRow = new QHBoxLayout;
  speedRow->addWidget(Caption("速さ", this));
  speed_ = new QComboBox(this);
  speed_->setObjectName(QString::number(kSimSpeedList));
  for (const char* entry : kSimSpeedEntries) speed_->addItem(QString::fromUtf8(entry));
  speed_->setFocusPolicy(Qt::NoFocus);
  connect(speed_, &QComboBox::activated, this, [this](int index) {
    simulation_.SetSpeed(static_cast<SimSpeed>(index));
    Refresh();
  });
  speedRow->addWidget(speed_, 1);
  column->addLayout(speedRow);

  status_ = new QLabel(this);
  status_->setWordWrap(true);
  status_->setMinimumHeight(2 * fontMetrics().height() + 4);
  status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  status_->setFrameShape(QFrame::StyledPanel);
  status_->setAutoFillBackground(true);
  QPalette white = status_->palette();
  white.setColor(QPalette::Window, Qt::white);
  status_->setPalette(white);
  status_->setMargin(3);
  column->addWidget(status_);

  auto* info = new QGridLayout;
  info->setVerticalSpacing(3);
  step_ = new QLabel(this);
  step_->setWordWrap(true);
  step_->setMinimumHeight(2 * fontMetrics().height());
  step_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  variables_ = new QLabel(this);
  note_ = new QLabel(this);
  info->addWidget(Caption("ステップ", this), 0, 0);
  info->addWidget(step_, 0, 1);
  info->addWidget(Caption("変数", this), 1, 0);
  info->addWidget(variables_, 1, 1);
  info->addWidget(Caption("音", this), 2, 0);
  info->addWidget(note_, 2, 1);
  info->setColumnStretch(1, 1);
  column->addLayout(info);

  lamps_ = new ui::BoardLamps(this, /*narrow=*/true);
  column->addWidget(lamps_);

  inputs_ = new ui::InputSliders(this);
  inputs_->NameSliders(kSimFirstSlider);
  connect(inputs_, &ui::InputSliders::moved, this,
          [this](int i, uint16_t value) { simulation_.SetInput(i, value); });
  column->addWidget(inputs_);

  message_ = new QLabel(this);
  message_->setWordWrap(true);
  message_->setStyleSheet(QStringLiteral("color: #a04000"));
  message_->hide();
  column->addWidget(message_);
  column->addStretch();

  Refresh();
  resize(sizeHint());
}

QSize SimulationPanel::sizeHint() const {
  const int height = layout()->hasHeightForWidth() ? layout()->heightForWidth(kPanelWidth)
                                                   : layout()->sizeHint().height();
  return {kPanelWidth, std::max(height, layout()->minimumSize().height())};
}

QToolButton* SimulationPanel::button(int command) const {
  const auto it = buttons_.find(command);
  return it == buttons_.end() ? nullptr : it->second;
}

QSlider* SimulationPanel::slider(int id) const {
  const int index = id - kSimFirstSlider;
  return index >= 0 && index < 3 ? inputs_->slider(index) : nullptr;
}

void SimulationPanel::ShowSoundMessage(const QString& why) {
  message_->setText(why);
  message_->show();
}

SimulationPanel::Shown SimulationPanel::Now() const {
  const bs::BoardSim& board = simulation_.board();
  Shown s;
  s.phase = simulation_.phase();
  s.status = simulation_.StatusText();
  s.step = state_.runningStep;
  if (s.phase != bs::RunState::Stopped) {
    s.outputs = board.outputs();
    s.a = board.a();
    s.b = board.b();
    s.note = board.note();
  }
  return s;
}

void SimulationPanel::Refresh() {
  const Shown now = Now();
  const std::optional<Shown> before = std::exchange(shown_, now);
  if (before == now) return;
  if (!before || before->phase != now.phase) {
    const bool stopped = now.phase == bs::RunState::Stopped;
    buttons_.at(kCommandSimRun)->setEnabled(now.phase != bs::RunState::Running);
    buttons_.at(kCommandSimPause)->setEnabled(now.phase == bs::RunState::Running);
    buttons_.at(kCommandSimStop)->setEnabled(!stopped);
  }
  if (!before || before->status != now.status) status_->setText(QString::fromStdString(now.status));
  if (!before || before->step != now.step) {
    const flowchart::FlowProgram& program = state_.program;
    QString text = QStringLiteral("―");
    if (now.step >= 0 && now.step < program.count) {
      text = QString::fromStdString(
          flowchart::ListingLine(now.step, program.steps[static_cast<std::size_t>(now.step)],
                                 flowchart::Notation::Japanese, ui::ShiftJisToUtf8));
    }
    step_->setText(text);
  }
  if (!before || before->outputs != now.outputs) lamps_->Show(now.outputs);
  if (!before || before->a != now.a || before->b != now.b) {
    variables_->setText(QStringLiteral("A = %1　　B = %2").arg(now.a).arg(now.b));
  }
  if (!before || before->note != now.note) {
    note_->setText(now.note < bs::kSilence
                       ? QStringLiteral("♪ ") +
                             QString::fromUtf8(melody::kNoteNames[now.note].data())
                       : QStringLiteral("なし（休み）"));
  }
  if (speed_->currentIndex() != static_cast<int>(simulation_.speed())) {
    speed_->setCurrentIndex(static_cast<int>(simulation_.speed()));
  }
}

}  // namespace pendra2::flowchart_ui
