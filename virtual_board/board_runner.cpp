#include "virtual_board/board_runner.h"

#include "board_sim/trace.h"
#include "ui_common/music_box.h"

namespace pendra2::virtual_board {
namespace {

namespace bs = board_sim;

bs::Pace PaceOf(Speed speed) {
  switch (speed) {
    case Speed::Quarter:
      return bs::Pace::Quarter;
    case Speed::Stepwise:
      return bs::Pace::Stepwise;
    case Speed::Normal:
      break;
  }
  return bs::Pace::Board;
}

}  // namespace

BoardRunner::BoardRunner(BoardModel& model, ui::MusicBox& sound, QObject* parent)
    : QObject(parent), model_(model), sound_(sound) {
  runner_.SetOnRan([this](const bs::Executed& e) { Did(e); });
  runner_.SetInputSource([this] {
    return std::array<uint16_t, 3>{model_.input(0), model_.input(1), model_.input(2)};
  });
  connect(&runner_, &ui::SimRunner::changed, this, [this] {
    if (trace_.is_open()) trace_.flush();
    emit changed();
  });
  connect(&runner_, &ui::SimRunner::ended, this, &BoardRunner::Ended);
  runner_.Load(model_.image());
}

bool BoardRunner::OpenTrace(const std::string& path, std::string& error) {
  trace_.open(path, std::ios::app);
  if (!trace_) {
    error = "cannot open the trace file " + path;
    return false;
  }
  return true;
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
      runner_.Load(model_.image());
      last_.reset();
      // With auto mode on, a freshly written board starts its program as it would at
      // power-up.
      if (model_.autoMode()) Run();
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
  runner_.Load(model_.image());
  last_.reset();
  runner_.Start();
}

void BoardRunner::Stop() {
  const bool was = runner_.run().state() != bs::RunState::Stopped;
  runner_.Stop();
  sound_.Damp();
  if (was) Ended();
}

void BoardRunner::SetSpeed(Speed speed) {
  speed_ = speed;
  runner_.SetPace(PaceOf(speed));
}

void BoardRunner::StepOnce() {
  if (runner_.run().state() == bs::RunState::Stopped) return;
  runner_.StepOnce();
}

void BoardRunner::Did(const bs::Executed& e) {
  last_ = e;
  if (e.column && e.note < bs::kSilence) sound_.Strike(e.note);
  if (trace_.is_open()) {
    trace_ << bs::TraceLine(e, runner_.sim(), bs::StepNumber(runner_.sim(), e)) << '\n';
  }
}

void BoardRunner::Ended() {
  // The last note rings out as a music box's would; only Stop damps it.
  if (trace_.is_open()) {
    trace_ << bs::StopLine(runner_.sim(), last_ ? last_->time : 0) << '\n' << std::flush;
  }
}

}  // namespace pendra2::virtual_board
