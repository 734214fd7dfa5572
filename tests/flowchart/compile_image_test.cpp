#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "program_builder.h"

namespace pendra2::flowchart {
namespace {

using testing::Build;
using testing::Jump;
using testing::Loop;
using testing::LoopEnd;
using testing::Output;
using testing::Step;
using testing::Variable;
using testing::Wait;

std::vector<int> Head(const FlowProgram& p, int n) {
  return std::vector<int>(p.image.begin(), p.image.begin() + n);
}

class CompileImageTest : public ::testing::Test {
 protected:
  std::unique_ptr<FlowProgram> owned = std::make_unique<FlowProgram>();
  FlowProgram& p = *owned;
};

TEST_F(CompileImageTest, EmptyProgramIsOneEndMarkThenPadding) {
  NewProgram(p);
  EXPECT_EQ(p.image, FlowProgram::FilledImage());
  ASSERT_TRUE(Recompute(p));
  EXPECT_EQ(p.image[0], 'E');
  for (int i = 1; i < kImageBytes; ++i) ASSERT_EQ(p.image[i], 0xFF) << i;
  EXPECT_EQ(p.imageSize, 0);
}

TEST_F(CompileImageTest, LoopAroundOutput) {
  Build(p, {Loop(2), Output(0, 1), LoopEnd()});
  EXPECT_EQ(Head(p, 10), (std::vector<int>{'l', 1, 'O', 0, 1, 'L', 1, 2, 0, 'E'}));
  EXPECT_EQ(p.imageSize, 9);
  EXPECT_EQ(p.image[10], 0xFF);
}

TEST_F(CompileImageTest, LoopCountIsSentMinusOneModulo256) {
  Build(p, {Loop(0), LoopEnd(), Loop(255), LoopEnd()});
  EXPECT_EQ(p.image[1], 255);
  EXPECT_EQ(p.image[7], 254);
}

TEST_F(CompileImageTest, NestedLoopsJumpBackJustAfterTheirOwnPair) {
  Build(p, {Output(1, 1), Loop(3), Output(0, 1), Loop(4), Output(0, 0), LoopEnd(), LoopEnd()});
  // Output at 0..2, outer 'l' at 3, Output 5..7, inner 'l' at 8, Output 10..12.
  EXPECT_EQ(Head(p, 22), (std::vector<int>{'O', 1, 1,   'l', 2,  'O', 0,   1, 'l', 3, 'O',
                                           0,   0, 'L', 2,   10, 0,   'L', 1, 5,   0, 'E'}));
}

TEST_F(CompileImageTest, EmptyLoopJumpsToItsOwnEnd) {
  Build(p, {Output(0, 1), Loop(2), LoopEnd()});
  EXPECT_EQ(Head(p, 10), (std::vector<int>{'O', 0, 1, 'l', 1, 'L', 1, 5, 0, 'E'}));
}

TEST_F(CompileImageTest, UnmatchedLoopEndJumpsToTwo) {
  Build(p, {Output(0, 1), LoopEnd()});
  EXPECT_EQ(Head(p, 8), (std::vector<int>{'O', 0, 1, 'L', 0, 2, 0, 'E'}));
}

TEST_F(CompileImageTest, JumpKindsCarryTargetAddresses) {
  Build(p, {Output(0, 1), Jump(StepKind::Goto, 1), Jump(StepKind::Goto, 2),
            Jump(StepKind::Branch, 3, 1, 300, 2), Jump(StepKind::Branch, 1, 2, 5, 0),
            Jump(StepKind::Compare, 2, 1, 0x1234), Jump(StepKind::VarCompare, 6, 7, -1)});
  EXPECT_EQ(Head(p, 3), (std::vector<int>{'O', 0, 1}));
  EXPECT_EQ(Head(p, 9), (std::vector<int>{'O', 0, 1, 'b', 0, 0, 0, 0, 0}));  // target 1 at 0
  EXPECT_EQ(std::vector<int>(p.image.begin() + 9, p.image.begin() + 15),
            (std::vector<int>{'b', 0, 0, 0, 3, 0}));
  EXPECT_EQ(std::vector<int>(p.image.begin() + 15, p.image.begin() + 21),
            (std::vector<int>{'b', 2, 0x2C, 0x01, 9, 0}));
  EXPECT_EQ(std::vector<int>(p.image.begin() + 21, p.image.begin() + 27),
            (std::vector<int>{'B', 0, 5, 0, 0, 0}));
  EXPECT_EQ(std::vector<int>(p.image.begin() + 27, p.image.begin() + 33),
            (std::vector<int>{'C', 1, 0x34, 0x12, 3, 0}));
  EXPECT_EQ(std::vector<int>(p.image.begin() + 33, p.image.begin() + 40),
            (std::vector<int>{'c', 7, 0xFF, 0xFF, 27, 0, 'E'}));
}

TEST_F(CompileImageTest, BranchWithoutValidOperatorOrInput) {
  // No letter for an unknown operator; nothing at all for input selector 3 or more.
  Build(p, {Jump(StepKind::Branch, 1, 0, 7, 1), Jump(StepKind::Branch, 1, 1, 7, 3)});
  EXPECT_EQ(Head(p, 6), (std::vector<int>{1, 7, 0, 0, 0, 'E'}));
  EXPECT_EQ(p.steps[1].size, 5);
  EXPECT_EQ(p.steps[2].size, 0);
}

TEST_F(CompileImageTest, TargetsOutsideTheProgramAreBounded) {
  Build(p, {Output(0, 1), Jump(StepKind::Goto, 0), Jump(StepKind::Goto, 99)});
  // Count is 5: target 0 reads as 1 (address 0), 99 as 4 (End, address 15).
  EXPECT_EQ(p.image[7], 0);
  EXPECT_EQ(p.image[13], 15);
  EXPECT_EQ(p.image[14], 0);
}

TEST_F(CompileImageTest, VariablesAndOutputs) {
  StepRecord ext = Step(StepKind::ExtOutput);
  ext.channel = 0x0B;
  Build(p, {Variable(0, 3, 258), Variable(1, 8, 0), ext});
  EXPECT_EQ(Head(p, 11), (std::vector<int>{'A', 3, 2, 1, 'a', 8, 0, 0, 'o', 0x0B, 'E'}));
}

TEST_F(CompileImageTest, WaitIsASilentTune) {
  Build(p, {Wait(0), Wait(3)});
  EXPECT_EQ(Head(p, 8), (std::vector<int>{'T', 121, 'T', 121, 23, 23, 23, 'E'}));
  EXPECT_EQ(p.steps[1].size, 2);
}

TEST_F(CompileImageTest, OrgelCopiesItsTuneBytesAndSizeZeroEmitsNothing) {
  StepRecord tune = Step(StepKind::Orgel);
  tune.code[0] = 'T';
  tune.code[1] = 5;
  tune.code[2] = 12;
  tune.code[3] = 24;
  tune.size = 4;
  StepRecord unpicked = Step(StepKind::Orgel);
  unpicked.code.fill(0x33);
  Build(p, {unpicked, tune, Jump(StepKind::Goto, 2)});
  EXPECT_EQ(Head(p, 11), (std::vector<int>{'T', 5, 12, 24, 'b', 0, 0, 0, 0, 0, 'E'}));
}

TEST_F(CompileImageTest, UnknownKindsEmitNothing) {
  StepRecord odd = Step(StepKind::Output);
  odd.kind = 42;
  odd.size = 9;
  Build(p, {odd, Output(2, 0)});
  EXPECT_EQ(Head(p, 4), (std::vector<int>{'O', 2, 0, 'E'}));
}

TEST_F(CompileImageTest, ExactlyFullImageEndsInTheLastByte) {
  // 84 outputs of 3 bytes and one wait of 259 bytes: 511 in all.
  NewProgram(p);
  int i = 1;
  for (; i <= 84; ++i) p.steps[i] = Output(0, 1);
  p.steps[i++] = Wait(257);
  p.steps[i] = Step(StepKind::End);
  p.count = i + 1;
  ASSERT_TRUE(Recompute(p));
  EXPECT_EQ(p.imageSize, 511);
  EXPECT_EQ(p.image[511], 'E');
  EXPECT_EQ(p.image[510], 23);
}

}  // namespace
}  // namespace pendra2::flowchart
