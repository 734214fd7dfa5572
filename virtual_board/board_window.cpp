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
#include <QSlider>
#include <QVBoxLayout>
#include <utility>

#include "board_sim/trace.h"
#include "melody/codes.h"
#include "ui_common/fonts.h"
#include "ui_common/music_box.h"
#include "virtual_board/board_runner.h"
#include "virtual_board/board_server.h"

namespace pendra2::virtual_board {

// A round lamp that is lit or dark.
class Lamp : public QWidget {
 public:
  Lamp(QColor colour, QWidget* parent) : QWidget(parent), colour_(colour) { setFixedSize(22, 22); }
  void SetLit(bool lit) {
    if (lit == lit_) return;
    lit_ = lit;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(70, 70, 70), 1.5));
    p.setBrush(lit_ ? colour_ : QColor(85, 85, 85));
    p.drawEllipse(QRectF(2, 2, 18, 18));
  }

 private:
  QColor colour_;
  bool lit_ = false;
};

namespace {

// Long enough to gather one launcher poll's connections or a burst of steps, short enough
// for a blinking LED to look right.
constexpr int kRefreshDelayMs = 40;

QWidget* Labelled(Lamp* lamp, const QString& text, QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 8, 0);
  row->addWidget(lamp);
  row->addWidget(new QLabel(text, box));
  return box;
}

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

  auto* outputs = new QGroupBox(QStringLiteral("出力"), this);
  auto* lamps = new QGridLayout(outputs);
  const QColor red(235, 50, 40), green(60, 200, 80), amber(245, 170, 30);
  outputLamps_ = {new Lamp(red, outputs), new Lamp(green, outputs), new Lamp(green, outputs)};
  lamps->addWidget(Labelled(outputLamps_[0], QStringLiteral("LED"), outputs), 0, 0);
  lamps->addWidget(Labelled(outputLamps_[1], QStringLiteral("出力1"), outputs), 0, 1);
  lamps->addWidget(Labelled(outputLamps_[2], QStringLiteral("出力2(モータ)"), outputs), 0, 2);
  lamps->addWidget(new QLabel(QStringLiteral("拡張出力"), outputs), 1, 0);
  auto* bits = new QHBoxLayout;
  for (std::size_t i = 0; i < extLamps_.size(); ++i) {
    extLamps_[i] = new Lamp(amber, outputs);
    bits->addWidget(Labelled(extLamps_[i], QStringLiteral("Bit%1").arg(i + 4), outputs));
  }
  lamps->addLayout(bits, 1, 1, 1, 3);
  column->addWidget(outputs);

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

  auto* inputs = new QGroupBox(QStringLiteral("入力"), this);
  auto* grid = new QGridLayout(inputs);
  for (int i = 0; i < 3; ++i) {
    const auto k = static_cast<std::size_t>(i);
    sliders_[k] = new QSlider(Qt::Horizontal, inputs);
    readings_[k] = new QLabel(inputs);
    readings_[k]->setMinimumWidth(40);
    sliders_[k]->setRange(0, board_sim::behaviour::kInputMax);
    sliders_[k]->setValue(server_.model().input(i));
    connect(sliders_[k], &QSlider::valueChanged, this, [this, i](int value) {
      server_.model().SetInput(i, board_sim::behaviour::ClampInput(value));
      ScheduleRefresh();
    });
    grid->addWidget(new QLabel(QStringLiteral("入力%1").arg(i + 1), inputs), i, 0);
    grid->addWidget(sliders_[k], i, 1);
    grid->addWidget(readings_[k], i, 2);
  }
  column->addWidget(inputs);

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
  if (!before || before->outputs != now.outputs) {
    outputLamps_[0]->SetLit(now.outputs.led);
    outputLamps_[1]->SetLit(now.outputs.out1);
    outputLamps_[2]->SetLit(now.outputs.out2);
    for (std::size_t i = 0; i < extLamps_.size(); ++i) {
      extLamps_[i]->SetLit((now.outputs.ext >> i) & 1);
    }
  }
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
      readings_[i]->setText(QString::number(now.inputs[i]));
      if (sliders_[i]->value() != now.inputs[i]) sliders_[i]->setValue(now.inputs[i]);
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
