#include "flowchart_ui/dialogs/live_reading.h"

#include <QLabel>
#include <QPushButton>
#include <string_view>

namespace pendra2::flowchart_ui {
namespace {

QString Caption(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

LiveReading::LiveReading(QPushButton* toggle, QLabel* note, std::function<void(RoundDone)> round,
                         QObject* parent)
    : QObject(parent), toggle_(toggle), note_(note), round_(std::move(round)) {
  timer_.setSingleShot(true);
  timer_.setInterval(flowchart::kSensorPeriodMs);
  connect(&timer_, &QTimer::timeout, this, &LiveReading::Tick);
  connect(toggle_, &QPushButton::clicked, this, &LiveReading::Toggle);
}

void LiveReading::Toggle() {
  if (running_) {
    Stop();
    return;
  }
  running_ = true;
  toggle_->setText(Caption(flowchart::kSensorStopCaption));
  ShowNote(nullptr);
  timer_.start();
}

void LiveReading::Stop() {
  if (!running_) return;
  running_ = false;
  timer_.stop();
  toggle_->setText(Caption(flowchart::kSensorReadCaption));
}

void LiveReading::Tick() {
  timer_.stop();
  if (!running_) return;
  round_([this](RoundResult result) { RoundEnded(result); });
}

void LiveReading::RoundEnded(RoundResult result) {
  // Stopped while the round was out: it is shown, but no other round follows.
  if (!running_) return;
  switch (result) {
    case RoundResult::kRead:
      ShowNote(nullptr);
      break;
    case RoundResult::kNoBoard:
      // Fails at once, so asking again costs nothing: the reading goes on as without a board.
      ShowNote(kNoBoardNote);
      break;
    case RoundResult::kNoAnswer:
      // Each further tick would keep the board busy for a whole reply wait.
      Stop();
      ShowNote(kNoAnswerNote);
      return;
  }
  timer_.start();
}

void LiveReading::ShowNote(const char* text) {
  if (!note_) return;
  note_->setText(text ? QString::fromUtf8(text) : QString());
}

}  // namespace pendra2::flowchart_ui
