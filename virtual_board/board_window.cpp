#include "virtual_board/board_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "board_sim/trace.h"
#include "melody/codes.h"
#include "ui_common/board_lamps.h"
#include "ui_common/fonts.h"
#include "ui_common/input_sliders.h"
#include "ui_common/music_box.h"
#include "virtual_board/board_runner.h"
#include "virtual_board/board_server.h"

namespace pendra2::virtual_board {

namespace {

// Long enough to gather one launcher poll's connections or a burst of steps, short enough
// for a blinking LED to look right.
constexpr int kRefreshDelayMs = 40;

QString StepText(const BoardRunner& runner) {
  const auto& last = runner.last();
  if (!last) return QStringLiteral("―");
  const board_sim::BoardSim& sim = runner.sim();
  const int at = last->column ? last->tuneAt : last->address;
  const uint8_t letter = last->column ? board_sim::op::kTune : last->letter;
  const QString shown = letter >= 0x21 && letter <= 0x7E
                            ? QString(QLatin1Char(static_cast<char>(letter)))
                            : QStringLiteral("?");
  QString text = QStringLiteral("アドレス%1「%2」").arg(at, 3, 10, QLatin1Char('0')).arg(shown);
  const int step = board_sim::StepNumber(sim, *last);
  if (step > 0) text = QStringLiteral("%1行目　").arg(step) + text;
  if (last->column) {
    text += last->wait ? QStringLiteral("　タイマー待機中") : QStringLiteral("　曲を演奏中");
  }
  return text;
}

QString NextText(const board_sim::BoardSim& sim) {
  const int at = sim.address();
  if (sim.inTune()) {
    const int step = board_sim::StepNumber(sim, sim.tuneAt());
    QString text =
        sim.inWait() ? QStringLiteral("タイマー待機のつづき") : QStringLiteral("曲のつづき");
    if (step > 0) text = QStringLiteral("%1行目　").arg(step) + text;
    return text + QStringLiteral("（アドレス%1）").arg(at, 3, 10, QLatin1Char('0'));
  }
  const uint8_t letter = sim.image()[static_cast<std::size_t>(at)];
  const QString shown = letter >= 0x21 && letter <= 0x7E
                            ? QString(QLatin1Char(static_cast<char>(letter)))
                            : QStringLiteral("?");
  QString text = QStringLiteral("アドレス%1「%2」").arg(at, 3, 10, QLatin1Char('0')).arg(shown);
  const int step = board_sim::StepNumber(sim, at);
  if (step > 0) text = QStringLiteral("%1行目　").arg(step) + text;
  return text;
}

}  // namespace

BoardWindow::BoardWindow(BoardServer& server, BoardRunner& runner, ui::MusicBox& sound,
                         const std::string& name, QWidget* parent)
    : QWidget(parent), server_(server), runner_(runner) {
  setWindowTitle(QStringLiteral("Pendra2 仮想ボード（%1）").arg(QString::fromStdString(name)));
  QFont font = this->font();
  font.setFamilies(ui::GothicFamilies());
  setFont(font);

  auto* column = new QVBoxLayout(this);

  auto* head = new QHBoxLayout;
  attached_ = new QLabel(this);
  autoMode_ = new QLabel(this);
  head->addWidget(attached_);
  head->addStretch();
  head->addWidget(autoMode_);
  column->addLayout(head);
  state_ = new QLabel(this);
  state_->setWordWrap(true);
  column->addWidget(state_);

  lamps_ = new ui::BoardLamps(this);
  column->addWidget(lamps_);

  auto* running = new QGroupBox(QStringLiteral("プログラム"), this);
  auto* info = new QGridLayout(running);
  variables_ = new QLabel(running);
  step_ = new QLabel(running);
  note_ = new QLabel(running);
  next_ = new QLabel(running);
  info->addWidget(new QLabel(QStringLiteral("実行したステップ"), running), 0, 0);
  info->addWidget(step_, 0, 1);
  info->addWidget(new QLabel(QStringLiteral("次のステップ"), running), 1, 0);
  info->addWidget(next_, 1, 1);
  info->addWidget(new QLabel(QStringLiteral("変数"), running), 2, 0);
  info->addWidget(variables_, 2, 1);
  info->addWidget(new QLabel(QStringLiteral("音"), running), 3, 0);
  info->addWidget(note_, 3, 1);
  info->setColumnStretch(1, 1);
  column->addWidget(running);

  inputs_ = new ui::InputSliders(this);
  for (int i = 0; i < 3; ++i) inputs_->Show(i, server_.model().input(i));
  connect(inputs_, &ui::InputSliders::moved, this, [this](int i, uint16_t value) {
    server_.model().SetInput(i, value);
    ScheduleRefresh();
  });
  column->addWidget(inputs_);

  auto* controls = new QHBoxLayout;
  auto* run = new QPushButton(QStringLiteral("実行"), this);
  auto* stop = new QPushButton(QStringLiteral("停止"), this);
  speed_ = new QComboBox(this);
  speed_->addItems({QStringLiteral("ふつうの速さ"), QStringLiteral("1/4の速さ"),
                    QStringLiteral("1ステップずつ")});
  stepButton_ = new QPushButton(QStringLiteral("次のステップへ"), this);
  stepButton_->setEnabled(false);
  controls->addWidget(run);
  controls->addWidget(stop);
  controls->addSpacing(12);
  controls->addWidget(new QLabel(QStringLiteral("速さ"), this));
  controls->addWidget(speed_);
  controls->addWidget(stepButton_);
  controls->addStretch();
  column->addLayout(controls);
  connect(run, &QPushButton::clicked, &runner_, &BoardRunner::Run);
  connect(stop, &QPushButton::clicked, &runner_, &BoardRunner::Stop);
  connect(stepButton_, &QPushButton::clicked, &runner_, &BoardRunner::StepOnce);
  connect(speed_, &QComboBox::currentIndexChanged, this, [this](int index) {
    runner_.SetSpeed(index == 1 ? Speed::Quarter : index == 2 ? Speed::Stepwise : Speed::Normal);
    stepButton_->setEnabled(index == 2);
    ScheduleRefresh();
  });

  showImage_ = new QCheckBox(QStringLiteral("書き込まれたデータを16進数で表示"), this);
  image_ = new QPlainTextEdit(this);
  image_->setReadOnly(true);
  image_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  image_->setMinimumHeight(240);
  image_->hide();
  column->addWidget(showImage_);
  column->addWidget(image_);
  connect(showImage_, &QCheckBox::toggled, this, [this](bool on) {
    image_->setVisible(on);
    if (on) ShowImage();
    adjustSize();
  });

  message_ = new QLabel(this);
  message_->setStyleSheet(QStringLiteral("color: #a04000"));
  message_->hide();
  column->addWidget(message_);
  connect(&sound, &ui::MusicBox::unavailable, this, [this](const QString& why) {
    message_->setText(why);
    message_->show();
  });

  refreshTimer_.setSingleShot(true);
  refreshTimer_.setInterval(kRefreshDelayMs);
  connect(&refreshTimer_, &QTimer::timeout, this, &BoardWindow::Refresh);
  connect(&server_, &BoardServer::changed, this, &BoardWindow::ScheduleRefresh);
  connect(&runner_, &BoardRunner::changed, this, &BoardWindow::ScheduleRefresh);
  Refresh();
}

void BoardWindow::ScheduleRefresh() {
  // A burst of changes (a poll, an image write, a run of steps) starts one timer; later
  // changes ride on it.
  if (!refreshTimer_.isActive()) refreshTimer_.start();
}

BoardWindow::Shown BoardWindow::Now() const {
  const BoardModel& m = server_.model();
  const board_sim::BoardSim& sim = runner_.sim();
  Shown s;
  s.attached = server_.attached();
  s.autoMode = m.autoMode();
  s.running = sim.running();
  s.stop = sim.stopped();
  s.outputs = sim.outputs();
  s.a = sim.a();
  s.b = sim.b();
  if (const auto& last = runner_.last()) {
    s.address = last->address;
    s.letter = last->letter;
    s.column = last->column;
  }
  // A note sent by PlayNote sounds while no tune does.
  s.note = sim.running() && sim.note() != board_sim::kSilence ? sim.note() : m.note();
  s.speed = speed_ ? speed_->currentIndex() : 0;
  // Only while stepping: at full speed the next step changes too fast to read.
  if (s.speed == 2 && sim.running()) s.next = sim.address() + (sim.inTune() ? 1000 : 0);
  s.inputs = {m.input(0), m.input(1), m.input(2)};
  return s;
}

void BoardWindow::Refresh() {
  const Shown now = Now();
  const std::optional<Shown> before = std::exchange(shown_, now);
  if (before == now) return;
  if (!before || before->attached != now.attached) {
    attached_->setText(QStringLiteral("接続中のプログラム: %1").arg(now.attached));
  }
  if (!before || before->autoMode != now.autoMode) {
    autoMode_->setText(now.autoMode ? QStringLiteral("自動実行: オン")
                                    : QStringLiteral("自動実行: オフ"));
  }
  if (!before || before->running != now.running || before->stop != now.stop) {
    QString text;
    if (now.running) {
      text = QStringLiteral("状態: 実行中");
    } else if (now.stop.reason == board_sim::StopReason::None) {
      text = QStringLiteral("状態: 停止中");
    } else {
      text = QStringLiteral("状態: ") + QString::fromStdString(board_sim::Describe(now.stop));
    }
    state_->setText(text);
    if (showImage_->isChecked()) ShowImage();
  }
  if (!before || before->outputs != now.outputs) lamps_->Show(now.outputs);
  if (!before || before->a != now.a || before->b != now.b) {
    variables_->setText(QStringLiteral("A = %1　　B = %2").arg(now.a).arg(now.b));
  }
  if (!before || before->address != now.address || before->letter != now.letter ||
      before->column != now.column) {
    step_->setText(StepText(runner_));
  }
  if (!before || before->next != now.next) {
    next_->setText(now.next >= 0 ? NextText(runner_.sim()) : QStringLiteral("―"));
  }
  if (!before || before->note != now.note) {
    note_->setText(now.note < board_sim::kSilence
                       ? QStringLiteral("♪ ") +
                             QString::fromUtf8(melody::kNoteNames[now.note].data())
                       : QStringLiteral("なし（休み）"));
  }
  for (std::size_t i = 0; i < now.inputs.size(); ++i) {
    if (!before || before->inputs[i] != now.inputs[i]) {
      inputs_->Show(static_cast<int>(i), now.inputs[i]);
    }
  }
}

void BoardWindow::ShowImage() {
  const auto& image = server_.model().image();
  QString hex;
  for (std::size_t i = 0; i < image.size(); ++i) {
    hex += QStringLiteral("%1").arg(image[i], 2, 16, QLatin1Char('0')).toUpper();
    hex += (i % 16 == 15) ? QLatin1Char('\n') : QLatin1Char(' ');
  }
  image_->setPlainText(hex);
}

}  // namespace pendra2::virtual_board
