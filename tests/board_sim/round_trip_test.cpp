// Every step kind and every operator compiled by the editor's compiler and run by the
// board's interpreter: the two share one encoding, and this is where they would part.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "board_sim/board_sim.h"
#include "flowchart/program_builder.h"

namespace pendra2::board_sim {
namespace {

namespace fct = flowchart::testing;
using K = flowchart::StepKind;
using flowchart::StepRecord;
using Inputs = std::array<uint16_t, 3>;

struct Ran {
  BoardSim board;
  std::vector<uint8_t> notes;  // tune columns sounded, in order
  Micros end = 0;              // when the program stopped
};

std::unique_ptr<Ran> Compiled(const std::vector<StepRecord>& body, Inputs inputs = {}) {
  auto program = std::make_unique<flowchart::FlowProgram>();
  fct::Build(*program, body);
  auto ran = std::make_unique<Ran>();
  ran->board.Load(program->image);
  for (int i = 0; i < 3; ++i) ran->board.SetInput(i, inputs[static_cast<std::size_t>(i)]);
  ran->board.Start(0);
  for (int calls = 0; calls < 100'000 && ran->board.running(); ++calls) {
    if (auto e = ran->board.Advance(Micros{1} << 40)) {
      if (e->column) ran->notes.push_back(e->note);
      ran->end = e->time + e->duration;
    }
  }
  EXPECT_EQ(ran->board.stopped().reason, StopReason::End);
  return ran;
}

// Whether `jump` jumps after `setup`: it skips the step that lights the LED.
bool Jumps(std::vector<StepRecord> setup, StepRecord jump, Inputs inputs = {}) {
  jump.target = static_cast<int32_t>(setup.size()) + 3;  // the End step
  setup.push_back(jump);
  setup.push_back(fct::Step(K::Output, 1, 0, 0));
  return !Compiled(setup, inputs)->board.outputs().led;
}

StepRecord SetA(int value) {
  return fct::Step(K::Variable, value, 0, 0);
}
StepRecord SetB(int value) {
  return fct::Step(K::Variable, value, 0, 1);
}

TEST(CompileThenRun, OutputsLightTheirPortAndTheExtendedBits) {
  for (int port = 0; port < 3; ++port) {
    const Outputs lit = Compiled({fct::Step(K::Output, 1, 0, port)})->board.outputs();
    EXPECT_EQ(lit, (Outputs{port == 0, port == 1, port == 2, 0})) << port;
    EXPECT_EQ(Compiled({fct::Step(K::Output, 1, 0, port), fct::Step(K::Output, 0, 0, port)})
                  ->board.outputs(),
              Outputs{})
        << port;
  }
  EXPECT_EQ(Compiled({fct::Step(K::ExtOutput, 0, 0, 0b1010)})->board.outputs().ext, 0b1010);
}

TEST(CompileThenRun, EveryVariableOperationOnAAndB) {
  // The variable under test starts at 7, the other one at 3; inputs read 100, 200, 300.
  const std::array<int, 12> expected{5, 12, 2, 35, 1, 100, 200, 300, 10, 4, 21, 2};
  for (int channel = 0; channel < 2; ++channel) {
    for (int op = 0; op < 12; ++op) {
      const StepRecord first = channel == 0 ? SetA(7) : SetB(7);
      const StepRecord other = channel == 0 ? SetB(3) : SetA(3);
      const auto ran =
          Compiled({first, other, fct::Step(K::Variable, 5, op, channel)}, {100, 200, 300});
      EXPECT_EQ(channel == 0 ? ran->board.a() : ran->board.b(), expected[op])
          << "channel " << channel << " op " << op;
      EXPECT_EQ(channel == 0 ? ran->board.b() : ran->board.a(), 3);
    }
  }
}

TEST(CompileThenRun, EveryVariableComparison) {
  // A = 5, B = 7, the step's number 5: A = 5, A > 5, A < 5, B = 5, B > 5, B < 5, A = B,
  // A > B, A < B.
  const std::array<bool, 9> jumps{true, false, false, false, true, false, false, false, true};
  for (int op = 0; op < 9; ++op) {
    EXPECT_EQ(Jumps({SetA(5), SetB(7)}, fct::Step(K::VarCompare, 5, op)), jumps[op]) << op;
  }
}

TEST(CompileThenRun, BranchesReadTheirOwnInputAtTheThreshold) {
  for (int input = 0; input < 3; ++input) {
    for (const int reading : {499, 500}) {
      Inputs inputs{};
      inputs[static_cast<std::size_t>(input)] = static_cast<uint16_t>(reading);
      // op 1: at or above, op 2: below.
      EXPECT_EQ(Jumps({}, fct::Step(K::Branch, 500, 1, input), inputs), reading >= 500) << input;
      EXPECT_EQ(Jumps({}, fct::Step(K::Branch, 500, 2, input), inputs), reading < 500) << input;
    }
  }
}

TEST(CompileThenRun, InputComparisonsWithTheirToleranceAndGoto) {
  struct Case {
    Inputs inputs;
    std::array<bool, 3> jumps;  // equal, greater, less
  };
  for (const Case& c :
       {Case{{510, 500, 0}, {true, false, false}}, Case{{511, 500, 0}, {false, true, false}},
        Case{{489, 500, 0}, {false, false, true}}}) {
    for (int op = 0; op < 3; ++op) {
      EXPECT_EQ(Jumps({}, fct::Step(K::Compare, 10, op), c.inputs), c.jumps[op])
          << c.inputs[0] << " op " << op;
    }
  }
  EXPECT_TRUE(Jumps({}, fct::Step(K::Goto)));
}

TEST(CompileThenRun, LoopsRepeatTheirBodyAndNest) {
  const StepRecord count = fct::Step(K::Variable, 1, 1, 0);  // A = A + 1
  EXPECT_EQ(Compiled({fct::Loop(3), count, fct::LoopEnd()})->board.a(), 3);
  EXPECT_EQ(Compiled({fct::Loop(0), count, fct::LoopEnd()})->board.a(), 0);
  EXPECT_EQ(
      Compiled({fct::Loop(2), fct::Loop(3), count, fct::LoopEnd(), fct::LoopEnd()})->board.a(), 6);
}

TEST(CompileThenRun, WaitsAndTunesTakeTheirTime) {
  const auto waited = Compiled({fct::Step(K::Wait, 3)});
  EXPECT_EQ(waited->end / 1000, 1500);  // three half seconds, and a few instructions
  EXPECT_EQ(waited->notes, (std::vector<uint8_t>{23, 23, 23}));

  // A tune as the tune dialog stores it: its image bytes, and its length with the end mark.
  StepRecord tune = fct::Step(K::Orgel);
  const std::vector<uint8_t> body{board_image::op::kTune, 24, 0, 12, board_image::kEndMark};
  std::copy(body.begin(), body.end(), tune.code.begin());
  tune.size = 5;
  const auto played = Compiled({tune});
  EXPECT_EQ(played->notes, (std::vector<uint8_t>{0, 12}));
  EXPECT_EQ(played->end / 1000, 200);  // tempo byte 24: 100 ms a column
}

}  // namespace
}  // namespace pendra2::board_sim
