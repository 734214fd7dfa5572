// The program image: the bytes each step compiles to, what Recompute derives and refuses,
// the record copies, and the transfer's guards in front of the board.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "flowchart/transfer.h"
#include "program_builder.h"

namespace pendra2::flowchart {
namespace {

using namespace testing;
using CompileImageTest = ProgramTest;
using RecomputeTest = ProgramTest;

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
  p.steps[2] = Step(K::Wait, 207);  // exactly full: End in the image's last byte
  EXPECT_TRUE(Recompute(p));
  EXPECT_EQ(p.imageSize, 511);
  EXPECT_EQ(p.image[510], 23);
  EXPECT_EQ(p.image[511], 'E');
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

struct ScriptedBoard : GenerationSource, interaction::BoardImageWriter {
  std::optional<uint8_t> generation;
  bool writeSucceeds = true;
  int queries = 0, writes = 0;
  BoardImage sent{};

  std::optional<uint8_t> QueryGeneration() override {
    ++queries;
    return generation;
  }
  bool WriteImage(std::span<const uint8_t, board_image::kImageBytes> image) override {
    ++writes;
    std::copy(image.begin(), image.end(), sent.begin());
    return writeSucceeds;
  }
};

TEST_F(ProgramTest, TransferGuardsInOrderAndNeverPassesAFailureAsSuccess) {
  const struct {
    int32_t imageSize;
    std::optional<uint8_t> generation;
    bool writeSucceeds;
    TransferStep step;
    int queries, writes;
  } cases[] = {
      {512, '3', true, TransferStep::kTooLarge, 0, 0},  // nothing at all is sent
      {511, '3', true, TransferStep::kSent, 1, 1},
      {10, std::nullopt, true, TransferStep::kNoAnswer, 1, 0},  // an older reply never counts
      {10, '2', true, TransferStep::kRefused, 1, 0},
      {10, 0xFF, true, TransferStep::kSent, 1, 1},
      {10, '3', false, TransferStep::kFailed, 1, 1},
  };
  const interaction::UserMessage messages[] = {{},
                                               kTooLargeMessage,
                                               kTransferFailedMessage,
                                               kGenerationRefusedMessage,
                                               kTransferFailedMessage};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    Build(p, {Step(K::Output, 1), Step(K::Wait, 4)});
    p.image.fill(0);  // stale: the transfer recomputes before it sends
    p.imageSize = c.imageSize;
    ScriptedBoard board;
    board.generation = c.generation;
    board.writeSucceeds = c.writeSucceeds;
    const TransferResult r = Transfer(p, board, board);
    EXPECT_EQ(r.step, c.step);
    EXPECT_EQ(r.outcome.ok(), c.step == TransferStep::kSent);
    if (!r.outcome.ok()) {
      EXPECT_EQ(r.outcome.message(), messages[static_cast<int>(c.step)]);
    }
    EXPECT_EQ(board.queries, c.queries);
    EXPECT_EQ(board.writes, c.writes);
    if (c.writes == 1) {
      EXPECT_EQ(board.sent, p.image);
      EXPECT_NE(p.image[0], 0);
    }
  }
}

}  // namespace
}  // namespace pendra2::flowchart
