#include "flowchart_ui/simulation.h"

#include "board_sim/behaviour.h"
#include "flowchart/recompute.h"
#include "flowchart_ui/stepcraft_texts.h"
#include "ui_common/music_box.h"

namespace pendra2::flowchart_ui {
namespace {

namespace bs = board_sim;

inline constexpr interaction::MessageText kTooLargeToRun{
    "データが５１２バイトを越しているのでシミュレーションできません。", "Warning",
    interaction::PromptIcon::Warning};

// However a damaged jump lands, one step ends after this many instructions without a
// numbered one (the interpreter stops every real endless loop long before).
constexpr int kMostUnnumberedInARow = 100'000;

bs::Pace PaceOf(SimSpeed speed) {
  switch (speed) {
    case SimSpeed::Watch:
      return bs::Pace::Watch;
    case SimSpeed::StepByStep:
      return bs::Pace::Stepwise;
    case SimSpeed::Board:
      break;
  }
  return bs::Pace::Board;
}

std::string Row(int step) {
  return std::to_string(step) + "行目";
}

// Why the program stopped, in the words of the steps a child put there.
std::string FaultText(const bs::StopInfo& stop, int step) {
  if (step < 0) return bs::Describe(stop);
  const std::string at = Row(step);
  switch (stop.reason) {
    case bs::StopReason::UnknownLetter:
      return at + "にボードの知らない命令があるため止まりました。";
    case bs::StopReason::BadOperand:
      return at + "の入力・出力・計算の番号がボードにないため止まりました。";
    case bs::StopReason::JumpOutside:
      return at + "の飛び先がプログラムの外にあるため止まりました。";
    case bs::StopReason::RanOffImage:
      return at + "がプログラムの終わりを越えているため止まりました。";
    case bs::StopReason::LoopTooDeep:
      return at + "のくり返しが深すぎるため止まりました（くり返しの中のくり返しは4つまで）。";
    case bs::StopReason::EndlessLoop:
      return "待機も入力もないまま同じところを回りつづけるので、" + at +
             "で止めました。くり返しの中に「待機」を入れてみましょう。";
    case bs::StopReason::EndlessMarks:
      return at + "の曲のくり返しに音がないため止まりました。";
    default:
      return bs::Describe(stop);
  }
}

}  // namespace

Simulation::Simulation(flowchart::StepcraftState& state, interaction::Prompter& prompter,
                       ui::MusicBox* sound, QObject* parent)
    : QObject(parent), state_(state), prompter_(prompter), sound_(sound) {
  runner_.SetOnRan([this](const bs::Executed& e) { Ran(e); });
  runner_.SetInputSource([this] { return inputs_; });
  connect(&runner_, &ui::SimRunner::changed, this, [this] {
    ShowLitStep();
    emit changed();
  });
  connect(&runner_, &ui::SimRunner::ended, this, [this] {
    Print(std::string("sim stop ") + bs::ReasonKey(runner_.sim().stopped().reason));
    endedBy_.clear();
    ShowLitStep();
    emit changed();
  });
  connect(&runner_, &ui::SimRunner::pausedAtBreakpoint, this, [this] {
    if (sound_) sound_->Damp();
    Print("sim pause");
  });
}

void Simulation::Print(const std::string& line) const {
  if (transcript_) transcript_(line);
}

int Simulation::OwnerOf(int address) const {
  if (address < 0 || address >= bs::kImageBytes) return -1;
  return map_.owner[static_cast<std::size_t>(address)];
}

bool Simulation::Prepare() {
  flowchart::Recompute(state_.program);
  if (state_.program.imageSize > bs::kImageBytes - 1) {
    prompter_.Ask(interaction::Prompt{std::string(kTooLargeToRun.text),
                                      std::string(kTooLargeToRun.caption),
                                      interaction::PromptButtons::Ok, kTooLargeToRun.icon});
    return false;
  }
  map_ = flowchart::MapStepAddresses(state_.program);
  runner_.SetBreakpoints(flowchart::BreakpointAddresses(map_, state_.breakpoints));
  runner_.SetPace(PaceOf(speed_));
  runner_.Load(state_.program.image);
  endedBy_.clear();
  everRun_ = true;
  return true;
}

bool Simulation::Command(int id) {
  const bs::RunState now = phase();
  const bool stepwise = speed_ == SimSpeed::StepByStep;
  switch (id) {
    case kCommandSimRun:
      if (now == bs::RunState::Stopped) {
        if (!Prepare()) return true;
        // Step by step, a run waits before the first step for the child to go on.
        runner_.Start(stepwise);
        if (stepwise && phase() == bs::RunState::Paused) Print("sim pause");
      } else if (now == bs::RunState::Paused) {
        if (stepwise) {
          StepCounted();
        } else {
          runner_.Resume();
        }
      }
      return true;
    case kCommandSimPause:
      if (now == bs::RunState::Running) {
        runner_.Pause();
        if (sound_) sound_->Damp();
        Print("sim pause");
      }
      return true;
    case kCommandSimStep:
      if (now == bs::RunState::Stopped && !Prepare()) return true;
      if (now == bs::RunState::Running) runner_.Pause();
      StepCounted();
      return true;
    case kCommandSimStop:
      if (now != bs::RunState::Stopped) Stopped("stopped");
      return true;
    default:
      return false;
  }
}

void Simulation::StepCounted() {
  ranCounted_ = false;
  for (int i = 0; i < kMostUnnumberedInARow && !ranCounted_; ++i) {
    runner_.StepOnce();
    if (phase() == bs::RunState::Stopped) return;
  }
  Print("sim pause");
}

void Simulation::Stopped(const char* reason) {
  runner_.Stop();
  if (sound_) sound_->Damp();
  endedBy_ = reason;
  Print(std::string("sim stop ") + reason);
  ShowLitStep();
  emit changed();
}

void Simulation::StopFor(const char* reason) {
  if (phase() != bs::RunState::Stopped) {
    Stopped(reason);
  } else if (everRun_) {
    // A fault's step stays lit, and its reason shown, only until the program changes.
    endedBy_ = "idle";
    state_.runningStep = -1;
    emit changed();
  }
}

void Simulation::BreakpointsChanged() {
  runner_.SetBreakpoints(flowchart::BreakpointAddresses(map_, state_.breakpoints));
}

void Simulation::SetInput(int index, uint16_t value) {
  if (index < 0 || index > 2) return;
  inputs_[static_cast<std::size_t>(index)] = bs::behaviour::ClampInput(value);
}

void Simulation::SetSpeed(SimSpeed speed) {
  speed_ = speed;
  runner_.SetPace(PaceOf(speed));
  // Step by step means waiting between steps: a run that was going waits now.
  if (speed == SimSpeed::StepByStep && phase() == bs::RunState::Running) {
    runner_.Pause();
    if (sound_) sound_->Damp();
    Print("sim pause");
  }
  emit changed();
}

void Simulation::Ran(const bs::Executed& e) {
  const int owner = e.column ? e.tuneAt : e.address;
  const int step =
      owner >= 0 && owner < bs::kImageBytes ? map_.traced[static_cast<std::size_t>(owner)] : 0;
  if (step > 0) {
    ranCounted_ = true;
    // A program without waits runs thousands of steps a second: no line is made for nobody.
    if (transcript_) transcript_("sim step " + std::to_string(step));
  }
  if (sound_ && e.column && e.note < bs::kSilence) sound_->Strike(e.note);
}

void Simulation::ShowLitStep() {
  const bs::BoardSim& sim = board();
  int lit = -1;
  switch (phase()) {
    case bs::RunState::Running:
      // A tune lights its step while it sounds; otherwise the step about to run.
      lit = OwnerOf(sim.inTune() ? sim.tuneAt() : sim.address());
      break;
    case bs::RunState::Paused: {
      // The step that goes on next, as a breakpoint names it: a tune whose last column has
      // sounded is over, though the board leaves it only with the next instruction.
      const int next = sim.NextInstruction();
      lit = OwnerOf(next >= 0 ? next : sim.tuneAt());
      break;
    }
    case bs::RunState::Stopped:
      // A fault keeps the step that caused it lit; an end or a stop lights nothing.
      if (endedBy_.empty() && sim.stopped().reason != bs::StopReason::End &&
          sim.stopped().reason != bs::StopReason::Stopped &&
          sim.stopped().reason != bs::StopReason::None) {
        lit = OwnerOf(sim.stopped().address);
      }
      break;
  }
  state_.runningStep = lit;
}

std::string Simulation::StatusText() const {
  const bs::BoardSim& sim = board();
  switch (phase()) {
    case bs::RunState::Running:
      return speed_ == SimSpeed::Watch ? "実行中（ゆっくり）" : "実行中";
    case bs::RunState::Paused:
      if (runner_.run().atBreakpoint() && state_.runningStep >= 0) {
        return "一時停止中：" + Row(state_.runningStep) + "のブレークポイント";
      }
      return speed_ == SimSpeed::StepByStep ? "一時停止中（1ステップ実行で進みます）"
                                            : "一時停止中";
    case bs::RunState::Stopped:
      break;
  }
  if (!everRun_) return "停止中";
  if (endedBy_ == "stopped") return "停止しました";
  if (endedBy_ == "edited") return "プログラムが変わったので止めました";
  if (!endedBy_.empty()) return "停止中";
  switch (sim.stopped().reason) {
    case bs::StopReason::End:
      return "おわりまで実行しました";
    case bs::StopReason::None:
    case bs::StopReason::Stopped:
      return "停止中";
    default:
      return FaultText(sim.stopped(), OwnerOf(sim.stopped().address));
  }
}

}  // namespace pendra2::flowchart_ui
