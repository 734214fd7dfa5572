#include <gtest/gtest.h>

#include <string>

#include "board_sim/sim_helpers.h"
#include "board_sim/trace.h"
#include "flowchart/program_builder.h"
#include "melody/codes.h"

namespace pendra2::board_sim {
namespace {

using testing::Bytes;
using testing::Join;
using testing::Lo16;
using testing::RunImage;

constexpr uint8_t E = 'E';

// Sets A and B first, so that operators and comparisons have something to work on.
Bytes SetAB(int a, int b) {
  return Join({{'A', 0}, Lo16(a), {'a', 0}, Lo16(b)});
}

// A six-byte condition followed by 'E' and a lit LED: the LED is on exactly when the
// condition jumped.
Bytes Condition(const Bytes& prefix, uint8_t letter, uint8_t selector, int value) {
  const int lamp = static_cast<int>(prefix.size()) + 7;
  return Join({prefix, {letter, selector}, Lo16(value), Lo16(lamp), {E, 'O', 0, 1, E}});
}

// Sets A and B, then variable operation `op` of `letter` ('A' or 'a' for B) with `value`.
Bytes Var(int a, int b, uint8_t letter, uint8_t op, int value = 0) {
  return Join({SetAB(a, b), {letter, op}, Lo16(value), {E}});
}

// led out1 out2, ext (Bit4 first), a, b.
std::string Shown(const BoardSim& b) {
  const Outputs& o = b.outputs();
  return std::string(o.led ? "1" : "0") + (o.out1 ? "1" : "0") + (o.out2 ? "1" : "0") + " " +
         ExtBits(o.ext) + " " + std::to_string(b.a()) + " " + std::to_string(b.b());
}

TEST(BoardSim, EachInstructionsEffect) {
  const struct {
    const char* what;
    Bytes image;
    std::array<uint16_t, 3> inputs;
    const char* expected;
  } table[] = {
      {"output 2: any non-zero is on", {'O', 2, 7, E}, {}, "001 0000 0 0"},
      {"extended bits 4 and 6, upper bits ignored", {'o', 0x15, E}, {}, "000 1010 0 0"},
      {"A / 2 truncates toward zero", Var(-7, 0, 'A', 4, 2), {}, "000 0000 -3 0"},
      {"A / 0 keeps A", Var(7, 0, 'A', 4, 0), {}, "000 0000 7 0"},
      {"B / A with A zero keeps B", Var(0, 30, 'a', 11), {}, "000 0000 0 30"},
      {"sums stop at the top", Var(30000, 0, 'A', 1, 30000), {}, "000 0000 32767 0"},
      {"differences stop at the bottom", Var(-30000, 0, 'A', 2, 30000), {}, "000 0000 -32768 0"},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.what);
    const auto r = RunImage(row.image, row.inputs);
    EXPECT_EQ(r.board.stopped().reason, StopReason::End);
    EXPECT_EQ(Shown(r.board), row.expected);
  }
}

TEST(BoardSim, BranchesAndComparisonsAtTheirThresholds) {
  const struct {
    const char* what;
    Bytes image;
    std::array<uint16_t, 3> inputs;
    bool jumps;
  } table[] = {
      {"a negative threshold is below every input", Condition({}, 'B', 0, -1), {0}, false},
      {"inputs are never above 1023", Condition({}, 'b', 0, 1024), {1023}, false},
      {"less by the tolerance only", Condition({}, 'C', 2, 10), {490, 500}, false},
      {"B = value", Condition(SetAB(0, -3), 'c', 3, -3), {}, true},
      {"A < B, equal", Condition(SetAB(9, 9), 'c', 8, 0), {}, false},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.what);
    const auto r = RunImage(row.image, row.inputs);
    EXPECT_EQ(r.board.stopped().reason, StopReason::End);
    EXPECT_EQ(r.board.outputs().led, row.jumps);
  }
}

TEST(BoardSim, LoopsCountNestAndSurviveJumpsOut) {
  const Bytes addOne = {'A', 1, 1, 0};
  // Leaving the loop by a jump and entering it again, fifty times over, never runs out of
  // counters: a loop start's depth is the one its loop end carries.
  const Bytes outAndIn =
      Join({{'l', 5}, addOne, {'c', 1}, Lo16(50), Lo16(22), {'b', 0, 0, 0, 0, 0, 'L', 1, 2, 0, E}});
  const struct {
    const char* what;
    Bytes image;
    int a;
  } table[] = {
      {"count 3 is sent as 2", Join({{'l', 2}, addOne, {'L', 1, 2, 0, E}}), 3},
      {"count 0 skips the body", Join({{'l', 255}, addOne, {'L', 1, 2, 0, E}}), 0},
      {"count 255", Join({{'l', 254}, addOne, {'L', 1, 2, 0, E}}), 255},
      {"2 x 3 nested", Join({{'l', 1, 'l', 2}, addOne, {'L', 2, 4, 0, 'L', 1, 2, 0, E}}), 6},
      {"three deep: 2 x 2 x 2",
       Join({{'l', 1, 'l', 1, 'l', 1}, addOne, {'L', 3, 6, 0, 'L', 2, 4, 0, 'L', 1, 2, 0, E}}), 8},
      {"jumping out and back in", outAndIn, 51},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.what);
    const auto r = RunImage(row.image);
    EXPECT_EQ(r.board.stopped().reason, StopReason::End);
    EXPECT_EQ(r.board.a(), row.a);
  }
}

std::string Notes(const testing::Run& r) {
  std::string s;
  for (const auto& e : r.done) {
    if (e.column)
      s += std::string(melody::kNoteNames[e.note]) + "@" + std::to_string(e.time / 1000) + " ";
  }
  return s;
}

TEST(BoardSim, TunesPlayTheirColumnsAtTheTempoWithLoops) {
  // C1, loop of D1 repeated twice more, E1, end mark; 100 ms a column (tempo byte 24).
  const auto r = RunImage({'T', 24, 0, 'l', 2, 2, 'L', 0, 0, 3, 4, 24, 'O', 0, 1, E});
  EXPECT_EQ(Notes(r), "C1@0 D1@100 D1@200 D1@300 E1@400 ");
  EXPECT_EQ(r.board.stopped().reason, StopReason::End);
  EXPECT_TRUE(r.board.outputs().led);      // the step after the tune ran
  EXPECT_EQ(r.done.back().time, 500'200);  // 'T', five columns, 'O', then 'E'
  EXPECT_EQ(r.board.note(), kSilence);
  // A tempo byte no row has is scaled from the half-second row (121).
  EXPECT_EQ(RunImage({'T', 242, 23, 24, E}).done.back().time, 100 + 1'000'000);
}

TEST(BoardSim, AWaitIsSilentHalfSecondsEvenBeforeALoopEnd) {
  // LED on, wait 1.5 s, LED off, wait 0.5 s, twice round: the wait's rests end at the
  // loop end's letter, which they must not take for a tune's loop mark.
  const Bytes image = {'l', 1, 'O', 0,   1,  'T', 121, 23, 23, 23, 'O',
                       0,   0, 'T', 121, 23, 'L', 1,   2,  0,  E};
  const auto r = RunImage(image);
  ASSERT_EQ(r.board.stopped().reason, StopReason::End);
  std::vector<Micros> ledOff, loopEnds;
  for (const auto& e : r.done) {
    if (e.address == 10) ledOff.push_back(e.time);
    if (e.address == 16) loopEnds.push_back(e.time);
  }
  // l, O, T: 0.3 ms, then three half seconds.
  EXPECT_EQ(ledOff, (std::vector<Micros>{1'500'300, 3'500'800}));
  EXPECT_EQ(loopEnds.size(), 2u);
  EXPECT_EQ(RunImage({'T', 121, E}).done.back().time, 100);  // a wait of 0 s
}

TEST(BoardSim, RunStopAndANewImage) {
  BoardSim board;
  board.Load(testing::MakeImage({'O', 0, 1, 'A', 0, 9, 0, 'T', 121, 23, 23, E}));
  board.Start(1000);
  EXPECT_FALSE(board.Advance(999));  // not due yet
  while (board.Advance(1'000'000)) {
  }
  EXPECT_TRUE(board.running());  // still waiting
  EXPECT_TRUE(board.outputs().led);
  EXPECT_EQ(board.due(), 1000 + 300 + 2 * 500'000);  // the second rest ends then
  board.Stop();
  EXPECT_EQ(board.stopped().reason, StopReason::Stopped);
  EXPECT_FALSE(board.outputs().led);  // Stop switches everything off
  EXPECT_FALSE(board.Advance(10'000'000));

  board.Start(0);  // a new run starts from scratch
  EXPECT_EQ(board.a(), 0);
  board.Advance(0);
  board.Load(testing::MakeImage({'O', 1, 1, E}));  // a write stops the old program
  EXPECT_FALSE(board.running());
  board.Start(0);
  while (board.Advance(1000)) {
  }
  // 'E' ends the run and leaves the lamps as the program set them.
  EXPECT_EQ(board.stopped().reason, StopReason::End);
  EXPECT_TRUE(board.outputs().out1);
}

TEST(BoardSim, CompiledProgramsAreTracedWithTheirStepNumbers) {
  namespace fct = flowchart::testing;
  using K = flowchart::StepKind;
  auto program = std::make_unique<flowchart::FlowProgram>();
  // Blink twice: LED on, wait 0.5 s, LED off, wait 0.5 s.
  fct::Build(*program, {fct::Loop(2), fct::Step(K::Output, 1, 0, 0), fct::Step(K::Wait, 1),
                        fct::Step(K::Output, 0, 0, 0), fct::Step(K::Wait, 1), fct::LoopEnd()});
  BoardSim board;
  board.Load(program->image);
  board.Start(0);
  std::vector<std::string> lines;
  Micros last = 0;
  while (auto e = board.Advance(1'000'000'000)) {
    lines.push_back(TraceLine(*e, board, StepNumber(board, *e)));
    last = e->time;
  }
  lines.push_back(StopLine(board, last));
  // The loop start, twice round the six bytes of the body and the loop end, 'E', the stop.
  ASSERT_EQ(lines.size(), 1u + 2 * 7 + 1 + 1);
  EXPECT_EQ(lines[0], "t=0.0 addr=000 op=l step=1 led=0 out1=0 out2=0 ext=0000 a=0 b=0");
  EXPECT_EQ(lines[1], "t=0.1 addr=002 op=O step=2 led=1 out1=0 out2=0 ext=0000 a=0 b=0");
  EXPECT_EQ(lines[3], "t=0.3 addr=007 op=T step=3 led=1 out1=0 out2=0 ext=0000 a=0 b=0 note=rest");
  EXPECT_EQ(lines[4], "t=500.3 addr=008 op=O step=4 led=0 out1=0 out2=0 ext=0000 a=0 b=0");
  EXPECT_EQ(lines.back().substr(0, lines.back().find(' ', 25)), "t=2001.1 stop=end addr=018");
}

}  // namespace
}  // namespace pendra2::board_sim
