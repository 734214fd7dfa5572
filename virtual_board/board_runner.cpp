#include "virtual_board/board_runner.h"

#include <algorithm>

#include "board_sim/trace.h"
#include "ui_common/music_box.h"

namespace pendra2::virtual_board {
namespace {

namespace bs = board_sim;

// The timer never wakes more often than this: a program without waits then runs a few
// dozen instructions per wake-up instead of waking the PC for each one.
constexpr int kMinWakeMs = 20;
// Nor sleeps longer, so a change of speed or input is noticed soon.
constexpr int kMaxWakeMs = 500;
// When the PC could not keep up (a suspended laptop), the board does not race to catch up.
constexpr bs::Micros kMaxLagUs = 1'000'000;

}  // namespace

BoardRunner::BoardRunner(BoardModel& model, ui::MusicBox& sound, QObject* parent)
    : QObject(parent), model_(model), sound_(sound) {
  clock_.start();
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &BoardRunner::Tick);
  sim_.Load(model_.image());
}

bool BoardRunner::OpenTrace(const std::string& path, std::string& error) {
  trace_.open(path, std::ios::app);
  if (!trace_) {
    error = "cannot open the trace file " + path;
    return false;
  }
  return true;
}

bs::Micros BoardRunner::SimNow() const {
  const qint64 realUs = clock_.nsecsElapsed() / 1000 - anchorRealUs_;
  switch (speed_) {
    case Speed::Normal:
      return anchorSim_ + realUs;
    case Speed::Quarter:
      return anchorSim_ + realUs / 4;
    case Speed::Stepwise:
      break;
  }
  return anchorSim_;
}

void BoardRunner::Anchor(bs::Micros simNow) {
  anchorSim_ = simNow;
  anchorRealUs_ = clock_.nsecsElapsed() / 1000;
}

void BoardRunner::Handle(BoardModel::Event event) {
  switch (event) {
    case BoardModel::Event::Run:
      Run();
      break;
    case BoardModel::Event::Stop:
      Stop();
      break;
    case BoardModel::Event::ImageWritten:
      sim_.Load(model_.image());
      last_.reset();
      // With auto mode on, a freshly written board starts its program as it would at
      // power-up.
      if (model_.autoMode()) Run();
      emit changed();
      break;
    case BoardModel::Event::Note:
      if (model_.note() < bs::kSilence) {
        sound_.Strike(model_.note());
      } else {
        sound_.Damp();
      }
      break;
    case BoardModel::Event::None:
      break;
  }
}

void BoardRunner::Run() {
  sim_.Load(model_.image());
  for (int i = 0; i < 3; ++i) sim_.SetInput(i, model_.input(i));
  Anchor(0);
  sim_.Start(0);
  last_.reset();
  if (!sim_.running()) Ended();
  Schedule();
  emit changed();
}

void BoardRunner::Stop() {
  const bool was = sim_.running();
  sim_.Stop();
  sound_.Damp();
  timer_.stop();
  if (was) Ended();
  emit changed();
}

void BoardRunner::SetSpeed(Speed speed) {
  const bs::Micros now = std::min(SimNow(), sim_.due());
  speed_ = speed;
  Anchor(now);
  Schedule();
}

void BoardRunner::StepOnce() {
  if (!sim_.running()) return;
  for (int i = 0; i < 3; ++i) sim_.SetInput(i, model_.input(i));
  const bs::Micros due = sim_.due();
  if (const auto e = sim_.Advance(due)) Did(*e);
  Anchor(due);
  if (!sim_.running()) Ended();
  if (trace_.is_open()) trace_.flush();
  emit changed();
}

void BoardRunner::Tick() {
  if (!sim_.running()) return;
  for (int i = 0; i < 3; ++i) sim_.SetInput(i, model_.input(i));
  bs::Micros now = SimNow();
  if (now - sim_.due() > kMaxLagUs) {
    now = sim_.due();
    Anchor(now);
  }
  bool any = false;
  while (const auto e = sim_.Advance(now)) {
    Did(*e);
    any = true;
  }
  if (!sim_.running()) Ended();
  if (trace_.is_open()) trace_.flush();
  if (any) emit changed();
  Schedule();
}

void BoardRunner::Schedule() {
  if (!sim_.running() || speed_ == Speed::Stepwise) {
    timer_.stop();
    return;
  }
  const bs::Micros ahead = std::max<bs::Micros>(0, sim_.due() - SimNow());
  const bs::Micros realUs = speed_ == Speed::Quarter ? ahead * 4 : ahead;
  const int ms =
      static_cast<int>(std::clamp<bs::Micros>((realUs + 999) / 1000, kMinWakeMs, kMaxWakeMs));
  timer_.start(ms);
}

void BoardRunner::Did(const bs::Executed& e) {
  last_ = e;
  if (e.column) {
    if (e.note < bs::kSilence) sound_.Strike(e.note);
  }
  if (trace_.is_open()) {
    trace_ << bs::TraceLine(e, sim_, bs::StepNumber(sim_, e)) << '\n';
  }
}

void BoardRunner::Ended() {
  // The last note rings out as a music box's would; only Stop damps it.
  timer_.stop();
  if (trace_.is_open()) {
    trace_ << bs::StopLine(sim_, last_ ? last_->time : 0) << '\n' << std::flush;
  }
}

}  // namespace pendra2::virtual_board
