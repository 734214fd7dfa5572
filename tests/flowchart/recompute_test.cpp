#include <gtest/gtest.h>

#include "program_builder.h"

namespace pendra2::flowchart {
namespace {

using namespace testing;
using RecomputeTest = ProgramTest;

TEST_F(RecomputeTest, NewProgramKeepsLeftoverSlotsAndTempo) {
  p.steps[5] = Step(K::Output, 1, 0, 1);
  p.modified = true;
  p.tempoIndex = 7;
  NewProgram(p);
  EXPECT_EQ(p.count, 2);
  EXPECT_TRUE(p.steps[0].Is(K::Start) && p.steps[1].Is(K::End) && p.steps[5].Is(K::Output));
  EXPECT_FALSE(p.modified);
  EXPECT_EQ(p.tempoIndex, 7);  // belongs to the editor session, not to the document
  EXPECT_EQ(p.image, FlowProgram::FilledImage());
}

TEST_F(RecomputeTest, NestedLoopsDeriveDepthsAndNothingStoredIsTrusted) {
  Build(p, {Loop(2), Loop(2), Loop(2), Step(K::Output, 1), LoopEnd(), LoopEnd(), LoopEnd()});
  p.steps[1].depth = 9;
  p.steps[5].code[1] = 0;
  p.steps[4].size = 400;
  ASSERT_TRUE(Recompute(p));
  const int32_t depth[] = {0, 1, 2, 3, 0, 3, 2, 1, 0};
  const int32_t after[] = {0, 1, 2, 3, 3, 2, 1, 0, 0};
  const int32_t end[] = {0, 2, 4, 6, 9, 13, 17, 21, 21};
  for (int i = 0; i < p.count; ++i) {
    SCOPED_TRACE(i);
    if (depth[i] != 0) {
      EXPECT_EQ(p.steps[i].depth, depth[i]);
    }
    EXPECT_EQ(p.depthAfter[i], after[i]);
    EXPECT_EQ(p.endAddress[i], end[i]);
  }
  EXPECT_EQ(p.steps[5].code[1], 3);  // the loop end's copy carries its depth
  EXPECT_EQ(p.steps[4].size, 3);
  EXPECT_EQ(p.imageSize, 21);
}

TEST_F(RecomputeTest, SizesAreBoundedToTheCodeBytes) {
  StepRecord tune = Step(K::Orgel);
  tune.size = 100000;
  StepRecord negative = Step(K::Wait);
  negative.size = -50;
  negative.code[0] = 0;
  Build(p, {negative, tune});
  EXPECT_EQ(p.steps[1].size, 0);
  EXPECT_EQ(p.steps[2].size, 768);
  EXPECT_EQ(p.imageSize, 768);
}

TEST_F(RecomputeTest, OversizeKeepsThePreviousImage) {
  Build(p, {Step(K::Output, 1)});
  const BoardImage before = p.image;
  p.steps[1] = Step(K::Wait, 300);
  p.steps[2] = Step(K::Wait, 208);  // 302 + 210 = 512
  p.steps[3] = Step(K::End);
  p.count = 4;
  EXPECT_FALSE(Recompute(p));
  EXPECT_EQ(p.imageSize, 512);
  EXPECT_EQ(p.endAddress[2], 512);
  EXPECT_EQ(p.image, before);
  p.steps[2] = Step(K::Wait, 207);
  EXPECT_TRUE(Recompute(p));
  EXPECT_EQ(p.imageSize, 511);
}

TEST_F(RecomputeTest, DamagedCountNeverLeavesTheTable) {
  Build(p, {Step(K::Output, 1)});
  for (int32_t count : {-5, 1, 256, 70000, 0}) {
    p.count = count;
    Recompute(p);  // the sanitizer build checks it stays inside the 256 slots
  }
  EXPECT_EQ(p.imageSize, 0);
  EXPECT_EQ(p.image[0], 'E');
}

TEST(StepCodeTest, RecordCopiesByKind) {
  struct Case {
    StepRecord step;
    std::vector<int> code;
  };
  StepRecord out = Step(K::Output, 1, 0, 1);
  out.code[2] = 0x77;
  WriteOutputCode(out);  // byte 2 is not the step's to write
  StepRecord loop = Loop(300);
  for (const auto& c : std::vector<Case>{
           {Step(K::Branch, 0x0102, 1, 2), {'B', 2, 1, 2}},  // the image's letters reversed
           {Step(K::Branch, 0x0102, 2, 2), {'b', 2, 1, 2}},
           {out, {'O', 1, 0x77, 1}},
           {Step(K::Goto, 0, 0, 0, 4), {'B', 0, 0, 0}},
           {Step(K::Variable, 0x0203, 4, 1), {'a', 4, 2, 3}},
           {Step(K::VarCompare, 1, 5), {'c'}},
           {Step(K::Compare, 1, 2), {'C'}},
           {loop, {'l', 300 & 0xFF}},
           {Step(K::Wait, 3), {'T', 121, 23, 23, 23, 0}},
       }) {
    SCOPED_TRACE(c.step.kind);
    EXPECT_EQ(std::vector<int>(c.step.code.begin(), c.step.code.begin() + c.code.size()), c.code);
  }
}

TEST(StepCodeTest, CopiesStayInsideTheRecord) {
  StepRecord s = Step(K::Wait, 5000);
  EXPECT_EQ(s.value, kMaxWaitValue);
  EXPECT_EQ(s.size, 768);
  EXPECT_EQ(s.code[767], 23);
  EXPECT_EQ(Step(K::Wait, -3).size, 2);
  EXPECT_TRUE(StoreTunePath(s, "C:\\music\\a.olg"));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&s.code[512])), "C:\\music\\a.olg");
  const std::string longest(255, 'x');
  EXPECT_TRUE(StoreTunePath(s, longest));
  EXPECT_EQ(s.code[767], 0);
  EXPECT_FALSE(StoreTunePath(s, longest + "y"));
  EXPECT_FALSE(StoreTunePath(s, std::string_view("a\0b", 3)));
  EXPECT_EQ(s.code[512], 'x');  // unchanged by the refusals
}

}  // namespace
}  // namespace pendra2::flowchart
