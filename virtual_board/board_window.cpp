#include "virtual_board/board_window.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <utility>

#include "virtual_board/board_server.h"

namespace pendra2::virtual_board {
namespace {

constexpr const char* kNoteNames[] = {"C1",  "C1s", "D1",  "D1s", "E1",  "F1",  "F1s", "G1",
                                      "G1s", "A1",  "A1s", "B1",  "C2",  "C2s", "D2",  "D2s",
                                      "E2",  "F2",  "F2s", "G2",  "G2s", "A2",  "A2s"};

// Long enough to gather one launcher poll's connections, short enough to look immediate.
constexpr int kRefreshDelayMs = 100;

QString Lamp(const QString& name, bool lit) {
  const char* colour = lit ? "#e03020" : "#606060";
  return QStringLiteral("<span style='color:%1'>&#9679;</span> %2").arg(colour, name);
}

}  // namespace

BoardWindow::BoardWindow(BoardServer& server, QWidget* parent) : QWidget(parent), server_(server) {
  setWindowTitle(QStringLiteral("Pendra2 virtual board"));
  auto* grid = new QGridLayout(this);
  attached_ = new QLabel(this);
  lamps_ = new QLabel(this);
  autoMode_ = new QLabel(this);
  runState_ = new QLabel(this);
  note_ = new QLabel(this);
  int row = 0;
  grid->addWidget(attached_, row++, 0, 1, 3);
  grid->addWidget(lamps_, row++, 0, 1, 3);
  grid->addWidget(autoMode_, row, 0);
  grid->addWidget(runState_, row, 1);
  grid->addWidget(note_, row++, 2);
  for (int i = 0; i < 3; ++i) {
    auto* name = new QLabel(QStringLiteral("input %1").arg(i + 1), this);
    sliders_[static_cast<std::size_t>(i)] = new QSlider(Qt::Horizontal, this);
    readings_[static_cast<std::size_t>(i)] = new QLabel(this);
    QSlider* slider = sliders_[static_cast<std::size_t>(i)];
    slider->setRange(0, 1023);
    slider->setValue(server_.model().input(i));
    connect(slider, &QSlider::valueChanged, this, [this, i](int value) {
      server_.model().SetInput(i, static_cast<uint16_t>(value));
      Refresh();
    });
    grid->addWidget(name, row, 0);
    grid->addWidget(slider, row, 1);
    grid->addWidget(readings_[static_cast<std::size_t>(i)], row++, 2);
  }
  image_ = new QPlainTextEdit(this);
  image_->setReadOnly(true);
  image_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  image_->setMinimumSize(420, 260);
  grid->addWidget(new QLabel(QStringLiteral("last image"), this), row++, 0, 1, 3);
  grid->addWidget(image_, row++, 0, 1, 3);
  refreshTimer_.setSingleShot(true);
  refreshTimer_.setInterval(kRefreshDelayMs);
  connect(&refreshTimer_, &QTimer::timeout, this, &BoardWindow::Refresh);
  connect(&server_, &BoardServer::changed, this, &BoardWindow::ScheduleRefresh);
  Refresh();
}

void BoardWindow::ScheduleRefresh() {
  // A burst of changes (a poll, an image write) starts one timer; later changes ride on it.
  if (!refreshTimer_.isActive()) refreshTimer_.start();
}

void BoardWindow::Refresh() {
  const BoardModel& m = server_.model();
  const Shown now{
      server_.attached(), m.running(), m.autoMode(), m.note(), {m.input(0), m.input(1), m.input(2)},
      m.image()};
  const std::optional<Shown> before = std::exchange(shown_, now);
  if (before == now) return;
  if (!before || before->attached != now.attached) {
    attached_->setText(QStringLiteral("attached connections: %1").arg(now.attached));
  }
  if (!before || before->running != now.running || before->autoMode != now.autoMode ||
      before->note != now.note) {
    const bool sounding = now.note < device::kSilenceNote;
    // The board keeps no simulated I/O pins: the lamps show what it is doing.
    lamps_->setText(Lamp(QStringLiteral("RUN"), now.running) + QStringLiteral("&nbsp;&nbsp;") +
                    Lamp(QStringLiteral("AUTO"), now.autoMode) + QStringLiteral("&nbsp;&nbsp;") +
                    Lamp(QStringLiteral("NOTE"), sounding));
    autoMode_->setText(now.autoMode ? QStringLiteral("auto mode on")
                                    : QStringLiteral("auto mode off"));
    runState_->setText(now.running ? QStringLiteral("running") : QStringLiteral("stopped"));
    note_->setText(sounding ? QStringLiteral("note %1").arg(QLatin1String(kNoteNames[now.note]))
                            : QStringLiteral("silent"));
  }
  for (std::size_t i = 0; i < now.inputs.size(); ++i) {
    if (!before || before->inputs[i] != now.inputs[i]) {
      readings_[i]->setText(QString::number(now.inputs[i]));
    }
  }
  if (!before || before->image != now.image) {
    QString hex;
    for (std::size_t i = 0; i < now.image.size(); ++i) {
      hex += QStringLiteral("%1").arg(now.image[i], 2, 16, QLatin1Char('0')).toUpper();
      hex += (i % 16 == 15) ? QLatin1Char('\n') : QLatin1Char(' ');
    }
    image_->setPlainText(hex);
  }
}

}  // namespace pendra2::virtual_board
