#pragma once
// The board's interpreter: runs a 512-byte board image as the board does. Time belongs to
// the caller: each Advance does at most one instruction or one tune column, and only when
// it is due, so a window can run it in real time and a test or the CLI as fast as it likes.
// Nothing in an image can make it crash or run away: a fault stops the board with a reason.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "board_sim/behaviour.h"
#include "board_sim/image_map.h"

namespace pendra2::board_sim {

inline constexpr uint8_t kSilence = board_image::kRest;

enum class StopReason : uint8_t {
  None,       // running, or never run
  End,        // reached 'E'
  Stopped,    // told to stop (Stop, an image write)
  NoProgram,  // the image is still blank
  UnknownLetter,
  BadOperand,    // an input, port or operation number the board has no use for
  JumpOutside,   // a jump address past the image
  RanOffImage,   // an instruction or tune that does not end inside the image
  LoopTooDeep,   // a loop end naming a counter the board does not have
  EndlessLoop,   // the same state again with no wait and no input read in between
  EndlessMarks,  // a tune's loop marks repeat without a sounding column
};

struct StopInfo {
  StopReason reason = StopReason::None;
  int address = 0;
  uint8_t byte = 0;  // the byte at that address
  bool operator==(const StopInfo&) const = default;
};

// Short ASCII name for traces and scripts, and the sentence the board window shows.
const char* ReasonKey(StopReason reason);
std::string Describe(const StopInfo& stop);

struct Outputs {
  bool led = false;
  bool out1 = false;
  bool out2 = false;
  uint8_t ext = 0;  // bits 0..3: extended outputs Bit4..Bit7
  bool operator==(const Outputs&) const = default;
};

// What one call did: an instruction, or one column of a tune.
struct Executed {
  Micros time = 0;  // when it started, in simulated microseconds since Start
  int address = 0;
  uint8_t letter = 0;   // the instruction's letter; for a tune column, 'T'
  bool column = false;  // a tune column: `note` is its code (0-22 note, 23 rest)
  uint8_t note = kSilence;
  int tuneAt = -1;    // a tune column: the address of its 'T'
  bool wait = false;  // a tune column of a wait (rests without an end mark)
  Micros duration = 0;
  bool jumped = false;  // the next address is not the one after this instruction
};

class BoardSim {
 public:
  // Replaces the image; a running program stops first.
  void Load(std::span<const uint8_t, kImageBytes> image);
  // Run: from address 0 with outputs off, variables 0 and counters cleared, at time `now`.
  void Start(Micros now);
  // Stop: halts, silences and switches every output off.
  void Stop();

  // The next instruction or tune column, done when it is due by `now`; nothing when the
  // board is stopped or the next one lies in the future.
  std::optional<Executed> Advance(Micros now);

  // Inputs are read live: whatever is set when an instruction reads them.
  void SetInput(int index, uint16_t value);
  uint16_t input(int index) const { return inputs_[static_cast<std::size_t>(index)]; }

  bool running() const { return running_; }
  Micros due() const { return due_; }
  // The address of the next instruction, or of the next column while a tune plays.
  int address() const { return pc_; }
  // The address of the instruction the next Advance runs (also when it ends a tune first),
  // or -1 when it plays a tune's column or loop mark.
  int NextInstruction() const;
  bool inTune() const { return inTune_; }
  // While a tune plays: the address of its 'T', and whether it is a wait's rests.
  int tuneAt() const { return tuneAt_; }
  bool inWait() const { return inTune_ && !tune_.endMark; }
  int16_t a() const { return a_; }
  int16_t b() const { return b_; }
  const Outputs& outputs() const { return outputs_; }
  // The note sounding (a tune's column or silence).
  uint8_t note() const { return note_; }
  const StopInfo& stopped() const { return stop_; }
  const Image& image() const { return image_; }
  const ImageMap& map() const { return map_; }

 private:
  // The part of the state a program without waits or input reads could come back to.
  struct Snapshot {
    int pc;
    int16_t a, b;
    Outputs outputs;
    std::array<uint8_t, behaviour::kLoopCounters> counters;
    bool operator==(const Snapshot&) const = default;
  };

  uint8_t At(int address) const { return image_[static_cast<std::size_t>(address)]; }
  void Halt(StopReason reason, int address);
  // Both fill in what they did; passed by reference, as they run for every step.
  void Instruction(Executed& e);
  void TuneStep(Executed& e);
  bool JumpTo(int address, int from);
  void LeaveTune();
  bool WatchForEndlessLoop();
  void ForgetSnapshot();

  Image image_{};
  ImageMap map_;
  std::array<uint16_t, 3> inputs_{};
  bool running_ = false;
  Micros due_ = 0;
  int pc_ = 0;
  int16_t a_ = 0, b_ = 0;
  Outputs outputs_;
  uint8_t note_ = kSilence;
  std::array<uint8_t, behaviour::kLoopCounters> counters_{};
  int runtimeDepth_ = 0;  // for loop starts no loop end names
  StopInfo stop_;

  // The tune being played, if any.
  bool inTune_ = false;
  TuneExtent tune_;
  int tuneAt_ = 0;
  Micros columnMicros_ = 0;
  std::array<uint8_t, behaviour::kLoopCounters> tuneCounters_{};
  int tuneDepth_ = 0;
  int marksInARow_ = 0;

  // Brent's cycle finding over the snapshots.
  std::optional<Snapshot> saved_;
  uint32_t sinceSaved_ = 0;
  uint32_t power_ = 1;
  bool readInput_ = false;
};

}  // namespace pendra2::board_sim
