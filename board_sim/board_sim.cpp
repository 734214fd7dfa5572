#include "board_sim/board_sim.h"

#include <algorithm>
#include <cstdio>

namespace pendra2::board_sim {
namespace {

int Address16(uint8_t lo, uint8_t hi) {
  return lo | (hi << 8);
}

// Brent's search doubles its stride; past this a cycle would take minutes to come round
// anyway, so the stride stops growing.
constexpr uint32_t kMaxPower = 1u << 20;

}  // namespace

const char* ReasonKey(StopReason reason) {
  switch (reason) {
    case StopReason::None:
      return "running";
    case StopReason::End:
      return "end";
    case StopReason::Stopped:
      return "stopped";
    case StopReason::NoProgram:
      return "no-program";
    case StopReason::UnknownLetter:
      return "unknown-letter";
    case StopReason::BadOperand:
      return "bad-operand";
    case StopReason::JumpOutside:
      return "jump-outside";
    case StopReason::RanOffImage:
      return "ran-off-image";
    case StopReason::LoopTooDeep:
      return "loop-too-deep";
    case StopReason::EndlessLoop:
      return "endless-loop";
    case StopReason::EndlessMarks:
      return "endless-tune-loop";
  }
  return "?";
}

std::string Describe(const StopInfo& stop) {
  char where[32];
  std::snprintf(where, sizeof where, "アドレス%03d", stop.address);
  const std::string at = where;
  char byte[8];
  std::snprintf(byte, sizeof byte, "0x%02X", stop.byte);
  switch (stop.reason) {
    case StopReason::None:
      return "実行中";
    case StopReason::End:
      return "おわりまで実行しました（" + at + "）";
    case StopReason::Stopped:
      return "停止しています";
    case StopReason::NoProgram:
      return "プログラムが書き込まれていません";
    case StopReason::UnknownLetter:
      return at + "に知らない命令（" + byte + "）があるため止まりました";
    case StopReason::BadOperand:
      return at + "の命令の入力・出力・計算の番号がボードにないため止まりました";
    case StopReason::JumpOutside:
      return at + "の飛び先がプログラムの外にあるため止まりました";
    case StopReason::RanOffImage:
      return at + "の命令がプログラムの終わりを越えているため止まりました";
    case StopReason::LoopTooDeep:
      return at + "の繰り返しが深すぎる（カウンタは4つ）ため止まりました";
    case StopReason::EndlessLoop:
      return "待機も入力の読み取りもない無限ループのため止まりました（" + at + "）";
    case StopReason::EndlessMarks:
      return "曲の繰り返しに音がないため止まりました（" + at + "）";
  }
  return {};
}

void BoardSim::Load(std::span<const uint8_t, kImageBytes> image) {
  if (running_) Stop();
  std::copy(image.begin(), image.end(), image_.begin());
  map_ = MapImage(image_);
}

void BoardSim::Start(Micros now) {
  running_ = true;
  due_ = now;
  pc_ = 0;
  a_ = b_ = 0;
  outputs_ = {};
  note_ = kSilence;
  counters_ = {};
  runtimeDepth_ = 0;
  inTune_ = false;
  stop_ = {};
  ForgetSnapshot();
  if (std::all_of(image_.begin(), image_.end(), [](uint8_t b) { return b == 0xFF; })) {
    Halt(StopReason::NoProgram, 0);
  }
}

void BoardSim::Stop() {
  running_ = false;
  inTune_ = false;
  note_ = kSilence;
  outputs_ = {};
  stop_ = {StopReason::Stopped, pc_, At(pc_)};
}

void BoardSim::SetInput(int index, uint16_t value) {
  if (index < 0 || index > 2) return;
  inputs_[static_cast<std::size_t>(index)] = std::min(value, behaviour::kInputMax);
}

void BoardSim::Halt(StopReason reason, int address) {
  running_ = false;
  inTune_ = false;
  note_ = kSilence;
  const int at = std::clamp(address, 0, kImageBytes - 1);
  stop_ = {reason, at, At(at)};
}

std::optional<Executed> BoardSim::Advance(Micros now) {
  if (!running_ || due_ > now) return std::nullopt;
  std::optional<Executed> done{std::in_place};
  Executed& e = *done;
  e.time = due_;
  if (inTune_) {
    TuneStep(e);
    if (inTune_ || !running_) {
      due_ += e.duration;
      return done;
    }
    // The tune is over: the instruction after it runs in the same call.
    e = Executed{};
    e.time = due_;
  }
  Instruction(e);
  due_ += e.duration;
  return done;
}

int BoardSim::NextInstruction() const {
  if (!inTune_) return pc_;
  if (pc_ < tune_.end) return -1;
  return tune_.endMark ? tune_.end + 1 : tune_.end;
}

void BoardSim::LeaveTune() {
  inTune_ = false;
  note_ = kSilence;
  pc_ = tune_.endMark ? tune_.end + 1 : tune_.end;
}

void BoardSim::TuneStep(Executed& e) {
  e.address = pc_;
  if (pc_ >= tune_.end) {
    LeaveTune();
    return;
  }
  const uint8_t b = At(pc_);
  if (board_image::IsNoteOrRest(b)) {
    e.letter = op::kTune;
    e.column = true;
    e.note = b;
    e.tuneAt = tuneAt_;
    e.wait = !tune_.endMark;
    e.duration = columnMicros_;
    note_ = b;
    marksInARow_ = 0;
    ++pc_;
    ForgetSnapshot();
    return;
  }
  e.letter = b;
  if (++marksInARow_ > behaviour::kMaxMarksWithoutColumn) {
    Halt(StopReason::EndlessMarks, pc_);
    return;
  }
  // Loop marks as Chimecraft plays them: counters by depth, the depth bounded by the four
  // counters, the target counted from the tune's first column.
  if (b == board_image::kLoopStartMark) {
    if (tuneDepth_ < behaviour::kLoopCounters) {
      tuneCounters_[static_cast<std::size_t>(tuneDepth_)] = At(pc_ + 1);
    }
    ++tuneDepth_;
    pc_ += 2;
  } else if (b == board_image::kLoopEndMark) {
    const int d = At(pc_ + 1);
    if (d < behaviour::kLoopCounters && tuneCounters_[static_cast<std::size_t>(d)] > 0) {
      --tuneCounters_[static_cast<std::size_t>(d)];
      const int target = tune_.columns + (At(pc_ + 2) << 8 | At(pc_ + 3));
      if (target > tune_.end) {
        Halt(StopReason::JumpOutside, pc_);
        return;
      }
      e.jumped = true;
      pc_ = target;
    } else {
      tuneDepth_ = std::max(0, tuneDepth_ - 1);
      pc_ += 4;
    }
  } else {
    // A jump back that landed on a parameter byte.
    Halt(StopReason::UnknownLetter, pc_);
  }
  return;
}

bool BoardSim::JumpTo(int address, int from) {
  if (address >= kImageBytes) {
    Halt(StopReason::JumpOutside, from);
    return false;
  }
  pc_ = address;
  return true;
}

void BoardSim::Instruction(Executed& e) {
  namespace bh = behaviour;
  const int at = pc_;
  const uint8_t letter = At(at);
  e.address = at;
  e.letter = letter;
  e.duration = bh::kInstructionMicros;

  if (letter == op::kTune) {
    if (at + 1 >= kImageBytes) {
      Halt(StopReason::RanOffImage, at);
      return;
    }
    tune_ = ScanTune(image_, at);
    tuneAt_ = at;
    if (tune_.runsOff) {
      Halt(StopReason::RanOffImage, at);
      return;
    }
    columnMicros_ = bh::TuneColumnMicros(At(at + 1));
    inTune_ = true;
    tuneCounters_ = {};
    tuneDepth_ = 0;
    marksInARow_ = 0;
    pc_ = tune_.columns;
    ForgetSnapshot();
    return;
  }
  const int length = FixedLength(letter);
  if (length == 0) {
    Halt(StopReason::UnknownLetter, at);
    return;
  }
  if (at + length > kImageBytes) {
    Halt(StopReason::RanOffImage, at);
    return;
  }
  const uint8_t p1 = length > 1 ? At(at + 1) : 0;
  const auto value = [&] { return bh::Signed16(At(at + 2), At(at + 3)); };
  const auto target = [&] { return Address16(At(at + 4), At(at + 5)); };
  pc_ = at + length;
  bool jump = false;
  int to = 0;

  switch (letter) {
    case op::kEnd:
      Halt(StopReason::End, at);
      return;
    case op::kLoopStart: {
      int depth = map_.loopDepth[static_cast<std::size_t>(at)];
      if (depth < 0) depth = runtimeDepth_ + 1;
      if (depth >= bh::kLoopCounters) {
        Halt(StopReason::LoopTooDeep, at);
        return;
      }
      runtimeDepth_ = depth;
      const int end = map_.loopEnd[static_cast<std::size_t>(at)];
      if (p1 == bh::kProgramLoopZero && end >= 0) {
        jump = true;
        to = end + FixedLength(op::kLoopEnd);
        runtimeDepth_ = std::max(0, depth - 1);
      } else {
        counters_[static_cast<std::size_t>(depth)] = p1;
      }
      break;
    }
    case op::kLoopEnd: {
      if (p1 >= bh::kLoopCounters) {
        Halt(StopReason::LoopTooDeep, at);
        return;
      }
      uint8_t& counter = counters_[p1];
      if (counter > 0) {
        --counter;
        jump = true;
        to = Address16(At(at + 2), At(at + 3));
      } else {
        runtimeDepth_ = std::max(0, p1 - 1);
      }
      break;
    }
    case op::kAtOrAbove:
    case op::kBelow: {
      if (p1 > 2) {
        Halt(StopReason::BadOperand, at);
        return;
      }
      const int threshold = value();
      const int reading = inputs_[p1];
      // Only a threshold inside the inputs' range makes the outcome depend on them; a goto
      // ('b' on 0) reads nothing that matters.
      if (threshold > 0 && threshold <= bh::kInputMax) readInput_ = true;
      jump = letter == op::kAtOrAbove ? reading >= threshold : reading < threshold;
      to = target();
      break;
    }
    case op::kOutput: {
      if (p1 > 2) {
        Halt(StopReason::BadOperand, at);
        return;
      }
      const bool on = At(at + 2) != 0;
      (p1 == 0 ? outputs_.led : p1 == 1 ? outputs_.out1 : outputs_.out2) = on;
      break;
    }
    case op::kExtOutput:
      outputs_.ext = p1 & 0x0F;
      break;
    case op::kCompare:
      if (p1 > 2) {
        Halt(StopReason::BadOperand, at);
        return;
      }
      readInput_ = true;
      jump = bh::CompareHolds(p1, inputs_[0], inputs_[1], value());
      to = target();
      break;
    case op::kVariableA:
    case op::kVariableB: {
      int16_t& x = letter == op::kVariableA ? a_ : b_;
      const int16_t y = letter == op::kVariableA ? b_ : a_;
      const int16_t v = value();
      switch (p1) {
        case 0:
          x = v;
          break;
        case 1:
          x = bh::Saturate(int64_t{x} + v);
          break;
        case 2:
          x = bh::Saturate(int64_t{x} - v);
          break;
        case 3:
          x = bh::Saturate(int64_t{x} * v);
          break;
        case 4:
          x = bh::Divide(x, v).value_or(x);
          break;
        case 5:
        case 6:
        case 7:
          x = static_cast<int16_t>(inputs_[static_cast<std::size_t>(p1 - 5)]);
          readInput_ = true;
          break;
        case 8:
          x = bh::Saturate(int64_t{x} + y);
          break;
        case 9:
          x = bh::Saturate(int64_t{x} - y);
          break;
        case 10:
          x = bh::Saturate(int64_t{x} * y);
          break;
        case 11:
          x = bh::Divide(x, y).value_or(x);
          break;
        default:
          Halt(StopReason::BadOperand, at);
          return;
      }
      break;
    }
    case op::kVarCompare: {
      const int v = value();
      switch (p1) {
        case 0:
          jump = a_ == v;
          break;
        case 1:
          jump = a_ > v;
          break;
        case 2:
          jump = a_ < v;
          break;
        case 3:
          jump = b_ == v;
          break;
        case 4:
          jump = b_ > v;
          break;
        case 5:
          jump = b_ < v;
          break;
        case 6:
          jump = a_ == b_;
          break;
        case 7:
          jump = a_ > b_;
          break;
        case 8:
          jump = a_ < b_;
          break;
        default:
          Halt(StopReason::BadOperand, at);
          return;
      }
      to = target();
      break;
    }
    default:
      break;
  }
  if (jump) {
    if (!JumpTo(to, at)) return;
    e.jumped = true;
  }
  if (WatchForEndlessLoop()) Halt(StopReason::EndlessLoop, at);
  return;
}

void BoardSim::ForgetSnapshot() {
  saved_.reset();
  sinceSaved_ = 0;
  power_ = 1;
  readInput_ = false;
}

bool BoardSim::WatchForEndlessLoop() {
  // A program that reads an input may leave its loop when the input changes; only one
  // that neither waits nor reads can be known to go round for ever.
  if (readInput_) {
    ForgetSnapshot();
    return false;
  }
  const Snapshot now{pc_, a_, b_, outputs_, counters_};
  if (saved_ && *saved_ == now) return true;
  if (!saved_ || ++sinceSaved_ >= power_) {
    saved_ = now;
    sinceSaved_ = 0;
    power_ = std::min(power_ * 2, kMaxPower);
  }
  return false;
}

}  // namespace pendra2::board_sim
