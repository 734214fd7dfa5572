#include <gtest/gtest.h>

#include <memory>

#include "program_builder.h"

namespace pendra2::flowchart {
namespace {

using testing::Build;
using testing::Jump;
using testing::Loop;
using testing::LoopEnd;
using testing::Output;
using testing::Step;
using testing::Wait;

class RecomputeTest : public ::testing::Test {
 protected:
  std::unique_ptr<FlowProgram> owned = std::make_unique<FlowProgram>();
  FlowProgram& p = *owned;
};

TEST_F(RecomputeTest, NewProgramKeepsLeftoverSlots) {
  p.steps[5] = Output(1, 1);
  p.modified = -1;
  p.tempoIndex = 7;
  NewProgram(p);
  EXPECT_EQ(p.count, 2);
  EXPECT_TRUE(p.steps[0].Is(StepKind::Start));
  EXPECT_TRUE(p.steps[1].Is(StepKind::End));
  EXPECT_TRUE(p.steps[5].Is(StepKind::Output));
  EXPECT_EQ(p.modified, 0);
  EXPECT_EQ(p.tempoIndex, 7);  // belongs to the editor session, not to the document
  EXPECT_EQ(p.image, FlowProgram::FilledImage());
}

TEST_F(RecomputeTest, ThreeNestedLoopsDeriveDepths) {
  Build(p, {Loop(2), Loop(2), Loop(2), Output(0, 1), LoopEnd(), LoopEnd(), LoopEnd()});
  const int32_t depth[] = {0, 1, 2, 3, 0, 3, 2, 1, 0};
  const int32_t after[] = {0, 1, 2, 3, 3, 2, 1, 0, 0};
  const int32_t end[] = {0, 2, 4, 6, 9, 13, 17, 21, 21};
  for (int i = 0; i < p.count; ++i) {
    if (p.steps[i].Is(StepKind::LoopStart) || p.steps[i].Is(StepKind::LoopEnd)) {
      EXPECT_EQ(p.steps[i].depth, depth[i]) << i;
    }
    EXPECT_EQ(p.depthAfter[i], after[i]) << i;
    EXPECT_EQ(p.endAddress[i], end[i]) << i;
  }
  // The loop end's copy carries its depth; nothing else in the record is trusted.
  EXPECT_EQ(p.steps[5].code[0], 'L');
  EXPECT_EQ(p.steps[5].code[1], 3);
  EXPECT_EQ(p.imageSize, 21);
}

TEST_F(RecomputeTest, StoredDepthsAndSizesAreNotTrusted) {
  Build(p, {Loop(2), Output(0, 1), LoopEnd()});
  p.steps[1].depth = 9;
  p.steps[3].depth = 7;
  p.steps[3].code[1] = 0;
  p.steps[2].size = 400;
  ASSERT_TRUE(Recompute(p));
  EXPECT_EQ(p.steps[1].depth, 1);
  EXPECT_EQ(p.steps[3].depth, 1);
  EXPECT_EQ(p.steps[3].code[1], 1);
  EXPECT_EQ(p.steps[2].size, 3);
  EXPECT_EQ(p.imageSize, 9);
}

TEST_F(RecomputeTest, TuneSizesAreBoundedToTheCodeBytes) {
  StepRecord tune = Step(StepKind::Orgel);
  tune.size = 100000;
  StepRecord negative = Step(StepKind::Wait);
  negative.size = -50;
  Build(p, {negative, tune});
  EXPECT_EQ(p.steps[1].size, 0);
  EXPECT_EQ(p.steps[2].size, 768);
  EXPECT_EQ(p.imageSize, 768);
}

TEST_F(RecomputeTest, OversizeKeepsThePreviousImage) {
  Build(p, {Output(0, 1)});
  const BoardImage before = p.image;
  p.steps[1] = Wait(300);
  p.steps[2] = Wait(208);  // 302 + 210 = 512
  p.steps[3] = Step(StepKind::End);
  p.count = 4;
  EXPECT_FALSE(Recompute(p));
  EXPECT_EQ(p.imageSize, 512);
  EXPECT_EQ(p.image, before);
  EXPECT_EQ(p.endAddress[2], 512);

  p.steps[2] = Wait(207);
  EXPECT_TRUE(Recompute(p));
  EXPECT_EQ(p.imageSize, 511);
}

TEST_F(RecomputeTest, DamagedCountNeverLeavesTheTable) {
  Build(p, {Output(0, 1)});
  for (int32_t count : {-5, 0, 1, 256, 70000}) {
    p.count = count;
    Recompute(p);  // must stay inside the 256 slots; the sanitizer build checks that
  }
  p.count = 0;
  EXPECT_TRUE(Recompute(p));
  EXPECT_EQ(p.imageSize, 0);
  EXPECT_EQ(p.image[0], 'E');
}

TEST(StepCodeTest, CopiesByKind) {
  auto branch = Jump(StepKind::Branch, 3, 1, 0x0102, 2);
  EXPECT_EQ(branch.code[0], 'B');  // the record's letter is the image's reverse
  EXPECT_EQ(branch.code[1], 2);
  EXPECT_EQ(branch.code[2], 1);  // value high byte first
  EXPECT_EQ(branch.code[3], 2);
  branch.op = 2;
  WriteBranchCode(branch);
  EXPECT_EQ(branch.code[0], 'b');

  auto out = Output(1, 1);
  out.code[2] = 0x77;
  WriteOutputCode(out);
  EXPECT_EQ(out.code[0], 'O');
  EXPECT_EQ(out.code[1], 1);
  EXPECT_EQ(out.code[2], 0x77);
  EXPECT_EQ(out.code[3], 1);

  auto go = Jump(StepKind::Goto, 4);
  EXPECT_EQ(go.code[0], 'B');
  EXPECT_EQ(go.code[1] | go.code[2] | go.code[3], 0);

  auto varB = testing::Variable(1, 4, 0x0203);
  EXPECT_EQ(varB.code[0], 'a');
  EXPECT_EQ(varB.code[1], 4);
  EXPECT_EQ(varB.code[2], 2);
  EXPECT_EQ(varB.code[3], 3);
  EXPECT_EQ(Jump(StepKind::VarCompare, 1, 5, 1).code[0], 'c');
  EXPECT_EQ(Jump(StepKind::Compare, 1, 2, 1).code[0], 'C');

  StepRecord loop = Step(StepKind::LoopStart);
  loop.loopCount = 300;
  WriteStepCode(loop);
  EXPECT_EQ(loop.code[1], 300 & 0xFF);
}

TEST(StepCodeTest, WaitFillsRestsAndStaysInsideCode) {
  auto w = Wait(3);
  EXPECT_EQ(w.size, 5);
  EXPECT_EQ(w.code[0], 'T');
  EXPECT_EQ(w.code[1], 121);
  EXPECT_EQ(w.code[4], 23);

  StepRecord huge = Step(StepKind::Wait);
  huge.value = 5000;
  WriteWaitCode(huge);
  EXPECT_EQ(huge.value, kMaxWaitValue);
  EXPECT_EQ(huge.size, 768);
  EXPECT_EQ(huge.code[767], 23);
  huge.value = -3;
  WriteWaitCode(huge);
  EXPECT_EQ(huge.size, 2);
}

TEST(StepCodeTest, TunePathMustFit) {
  StepRecord s = Step(StepKind::Orgel);
  EXPECT_TRUE(StoreTunePath(s, "C:\\music\\a.olg"));
  EXPECT_EQ(s.code[512], 'C');
  EXPECT_EQ(s.code[512 + 14], 0);
  const std::string longest(255, 'x');
  EXPECT_TRUE(StoreTunePath(s, longest));
  EXPECT_EQ(s.code[767], 0);
  EXPECT_FALSE(StoreTunePath(s, longest + "y"));
  EXPECT_EQ(s.code[512], 'x');  // unchanged by the refusal
  EXPECT_FALSE(StoreTunePath(s, std::string_view("a\0b", 3)));
}

}  // namespace
}  // namespace pendra2::flowchart
