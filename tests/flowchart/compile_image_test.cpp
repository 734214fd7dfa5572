#include <gtest/gtest.h>

#include <algorithm>

#include "program_builder.h"

namespace pendra2::flowchart {
namespace {

using namespace testing;
using CompileImageTest = ProgramTest;

StepRecord Tune(std::initializer_list<uint8_t> bytes, uint8_t fill = 0) {
  StepRecord s = Step(K::Orgel);
  s.code.fill(fill);
  std::copy(bytes.begin(), bytes.end(), s.code.begin());
  s.size = static_cast<int32_t>(bytes.size());
  return s;
}

TEST_F(CompileImageTest, CompiledImageBytes) {
  StepRecord unknown = Step(K::Output);
  unknown.kind = 42;
  unknown.size = 9;
  struct Case {
    const char* name;
    std::vector<StepRecord> body;
    std::vector<int> head;  // up to and including 'E'; 0xFF after it
  };
  const std::vector<Case> cases = {
      {"empty", {}, {'E'}},
      {"loop", {Loop(2), Step(K::Output, 1), LoopEnd()}, {'l', 1, 'O', 0, 1, 'L', 1, 2, 0, 'E'}},
      {"count minus one modulo 256",
       {Loop(0), LoopEnd(), Loop(255), LoopEnd()},
       {'l', 255, 'L', 1, 2, 0, 'l', 254, 'L', 1, 8, 0, 'E'}},
      {"nested loops jump back just after their own start",
       {Step(K::Output, 1, 0, 1), Loop(3), Step(K::Output, 1), Loop(4), Step(K::Output, 0),
        LoopEnd(), LoopEnd()},
       {'O', 1, 1, 'l', 2, 'O', 0, 1, 'l', 3, 'O', 0, 0, 'L', 2, 10, 0, 'L', 1, 5, 0, 'E'}},
      {"empty loop",
       {Step(K::Output, 1), Loop(2), LoopEnd()},
       {'O', 0, 1, 'l', 1, 'L', 1, 5, 0, 'E'}},
      {"unmatched loop end", {Step(K::Output, 1), LoopEnd()}, {'O', 0, 1, 'L', 0, 2, 0, 'E'}},
      {"jumps",
       {Step(K::Output, 1), Step(K::Goto, 0, 0, 0, 1), Step(K::Goto, 0, 0, 0, 2),
        Step(K::Branch, 300, 1, 2, 3), Step(K::Branch, 5, 2, 0, 1),
        Step(K::Compare, 0x1234, 1, 0, 2), Step(K::VarCompare, -1, 7, 0, 6)},
       {'O', 0,   1, 'b', 0, 0, 0, 0,   0, 'b',  0,    0, 0, 3,   0, 'b',  2,    0x2C, 0x01, 9,
        0,   'B', 0, 5,   0, 0, 0, 'C', 1, 0x34, 0x12, 3, 0, 'c', 7, 0xFF, 0xFF, 27,   0,    'E'}},
      {"branch: no letter for a bad operator, nothing for input 3 or more",
       {Step(K::Branch, 7, 0, 1, 1), Step(K::Branch, 7, 1, 3, 1)},
       {1, 7, 0, 0, 0, 'E'}},
      {"targets outside the program are bounded",
       {Step(K::Output, 1), Step(K::Goto, 0, 0, 0, 0), Step(K::Goto, 0, 0, 0, 99)},
       {'O', 0, 1, 'b', 0, 0, 0, 0, 0, 'b', 0, 0, 0, 15, 0, 'E'}},
      {"variables and outputs",
       {Step(K::Variable, 258, 3, 0), Step(K::Variable, 0, 8, 1), Step(K::ExtOutput, 0, 0, 0x0B)},
       {'A', 3, 2, 1, 'a', 8, 0, 0, 'o', 0x0B, 'E'}},
      {"wait is a silent tune",
       {Step(K::Wait, 0), Step(K::Wait, 3)},
       {'T', 121, 'T', 121, 23, 23, 23, 'E'}},
      {"orgel copies its bytes; size 0 emits nothing",
       {Tune({}, 0x33), Tune({'T', 5, 12, 24}), Step(K::Goto, 0, 0, 0, 2)},
       {'T', 5, 12, 24, 'b', 0, 0, 0, 0, 0, 'E'}},
      {"unknown kinds emit nothing", {unknown, Step(K::Output, 0, 0, 2)}, {'O', 2, 0, 'E'}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Build(p, c.body);
    EXPECT_EQ(p.imageSize, static_cast<int>(c.head.size()) - 1);
    std::vector<int> expected = c.head;
    expected.resize(kImageBytes, 0xFF);
    EXPECT_EQ(std::vector<int>(p.image.begin(), p.image.end()), expected);
  }
}

TEST_F(CompileImageTest, ExactlyFullImageEndsInTheLastByte) {
  std::vector<StepRecord> body(84, Step(K::Output, 1));  // 84 * 3 + 259 = 511 bytes
  body.push_back(Step(K::Wait, 257));
  Build(p, body);
  EXPECT_EQ(p.imageSize, 511);
  EXPECT_EQ(p.image[510], 23);
  EXPECT_EQ(p.image[511], 'E');
}

}  // namespace
}  // namespace pendra2::flowchart
