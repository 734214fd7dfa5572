#include "flowchart/dialog_fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "flowchart/program_builder.h"
#include "flowchart/temp_dir.h"
#include "stepcraft_app/scripted_user.h"

namespace pendra2::flowchart::testing {
namespace {

constexpr int32_t kCount = 8;  // jump targets are bounded to 1..7

TEST(DialogFields, TypedEntries) {
  // Wait seconds; a refused entry keeps the old value 9 and says why.
  const std::pair<const char*, int32_t> waits[] = {
      {"2.4", 4},   {"1.3", 2},    {"0.2", 0},
      {"abc", 0},   {" 1.5秒", 3}, {"383", 766},
      {"383.5", 9}, {"-1", 9},     {"1.49999999999999999", 2}};  // only nine characters are read
  for (const auto& [text, value] : waits) {
    StepRecord step = Step(K::Wait, 9);
    const interaction::Outcome outcome = StoreWait({text}, step);
    EXPECT_EQ(step.value, value) << text;
    EXPECT_EQ(outcome.ok(), value != 9) << text;
    if (!outcome.ok()) {
      EXPECT_EQ(outcome.message().text, "待機秒数は0～383秒の範囲で指定してください。");
    }
  }
  // Jump targets, the same rule in all four jump dialogs.
  const std::pair<const char*, int32_t> targets[] = {
      {"0", 1}, {"-5", 1}, {" 3 ", 3}, {"99", kCount - 1}, {"3x", 1}};
  for (const auto& [text, target] : targets) {
    StepRecord jumps[] = {Step(K::Goto), Step(K::Branch), Step(K::Compare), Step(K::VarCompare)};
    (void)StoreGoto({text}, jumps[0], kCount);
    (void)StoreBranch({"0", 0, 0, text}, jumps[1], kCount);
    (void)StoreCompare({"0", 0, text}, jumps[2], kCount);
    (void)StoreVarCompare({"0", 0, text}, jumps[3], kCount);
    for (const StepRecord& jump : jumps) EXPECT_EQ(jump.target, target) << text;
  }
  // Thresholds and constants: signed numbers, anything else 0.
  const std::pair<const char*, int32_t> numbers[] = {
      {"-300", -300}, {"+70000", 70000}, {"+-3", 0}, {"99999999999", 0}, {"12abc", 0}};
  for (const auto& [text, value] : numbers) {
    StepRecord branch = Step(K::Branch, 5);
    StepRecord variable = Step(K::Variable, 5);
    (void)StoreBranch({text, 0, 0, "1"}, branch, kCount);
    (void)StoreVariable({text, 0}, variable);
    EXPECT_EQ(std::pair(branch.value, variable.value), std::pair(value, value)) << text;
  }
  // Loop counts, taken as unsigned and clamped.
  const std::pair<const char*, int32_t> loops[] = {{"300", 255}, {"-1", 255},  {"0", 0},
                                                   {"12", 12},   {"255", 255}, {"x", 0}};
  for (const auto& [text, count] : loops) EXPECT_EQ(StoreLoopCount({text}), count) << text;
}

// Radio groups store the checked button's value (the Qt dialog tests press them); with none
// checked a field keeps its old value, except compare and output, which always store. A value
// outside its group opens with the fallback button, or none.
TEST(DialogFields, RadioGroupsAndCheckBoxes) {
  StepRecord branch = Step(K::Branch, 0, 2, 1);
  StepRecord compare = Step(K::Compare, 0, 2);
  StepRecord output = Step(K::Output, 1, 0, 0);
  StepRecord variable = Step(K::Variable, 0, 2);
  StepRecord varCompare = Step(K::VarCompare, 0, 2);
  (void)StoreBranch({"0", 0, 0, "1"}, branch, kCount);
  (void)StoreCompare({"0", 0, "1"}, compare, kCount);
  (void)StoreOutput({0, 0}, output);
  (void)StoreVariable({"0", 0}, variable);
  (void)StoreVarCompare({"0", 0, "1"}, varCompare, kCount);
  EXPECT_EQ(std::tuple(branch.op, branch.channel, compare.op, variable.op, varCompare.op),
            std::tuple(2, 1, 0, 2, 2));
  EXPECT_EQ(std::pair(output.channel, output.value), std::pair(2, 0));
  (void)StoreVariable({"0", 1058}, variable);  // the last button of a group
  EXPECT_EQ(variable.op, 11);
  EXPECT_EQ(OpenVariable(variable).opButton, 1058);

  const BranchFields openBranch = OpenBranch(Step(K::Branch, 0, 7, 5));
  const OutputFields openOutput = OpenOutput(Step(K::Output, 5, 0, 9));
  EXPECT_EQ(std::pair(openBranch.opButton, openBranch.inputButton), std::pair(0, 1103));
  EXPECT_EQ(std::pair(openOutput.portButton, openOutput.stateButton), std::pair(1045, 1044));
  EXPECT_EQ(OpenCompare(Step(K::Compare, 0, 9)).opButton, 1006);
  EXPECT_EQ(OpenVariable(Step(K::Variable, 0, 12)).opButton, 0);
  EXPECT_EQ(OpenVarCompare(Step(K::VarCompare, 0, -1)).opButton, 0);

  // Extended output: channel before, boxes -> channel after.
  const std::tuple<int32_t, std::array<bool, 4>, int32_t> boxes[] = {
      {0b0101, {false, false, false, false}, 0},
      {0, {false, false, false, true}, 8},
      {0x31, {true, false, false, false}, 0x11}};  // bit 4 stays, higher bits go
  for (const auto& [before, bits, after] : boxes) {
    StepRecord step = Step(K::ExtOutput, 0, 0, before);
    (void)StoreExtOutput({bits}, step);
    EXPECT_EQ(step.channel, after);
  }
  EXPECT_EQ(OpenExtOutput(Step(K::ExtOutput, 0, 0, 0b1010)).bits,
            (std::array<bool, 4>{false, true, false, true}));

  // Shown texts: one decimal whatever the locale, and a live reading's two bytes.
  EXPECT_EQ(OpenWait(Step(K::Wait, 4)).seconds, "2.0");
  EXPECT_EQ(ReadingText(0x34, 0x12), "4660");
  EXPECT_EQ(BranchReadingInput(1102), 2);
  EXPECT_EQ(BranchReadingInput(0), 3);
}

// Tune files: Shift JIS is plain ASCII here, anything else has no form.
std::string Identity(std::string_view sjis) {
  return std::string(sjis);
}
std::optional<std::string> AsciiOnly(std::string_view utf8) {
  for (const char c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x80) return std::nullopt;
  }
  return std::string(utf8);
}

// A tune file of `length` columns: the header, then 512 bytes of tune.
std::vector<uint8_t> TuneFile(uint16_t length, uint16_t tempoIndex, char versionDigit = '5') {
  std::vector<uint8_t> bytes(576);
  for (std::size_t i = 64; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i % 23);
  const std::string head = std::string("OLX\0\0\0", 6) + static_cast<char>(length & 0xFF) +
                           static_cast<char>(length >> 8) + "2." + versionDigit + "3.60";
  std::copy(head.begin(), head.end(), bytes.begin());
  bytes[24] = static_cast<uint8_t>(tempoIndex);
  bytes[64] = 'T';
  return bytes;
}

// What the browse button's chosen file puts into the step, or why it is refused with the
// step, the tempo and the changed mark left alone.
TEST_F(ProgramTest, ChosenTunesAndRefusals) {
  pendra2::testing::TempDir dir;
  const auto Write = [&dir](const std::string& name, const std::vector<uint8_t>& bytes) {
    pendra2::testing::WriteBytes(dir / name, bytes);
    return (dir / name).string();
  };
  Build(p, {Step(K::Orgel)});
  p.currentStep = 1;
  pendra2::testing::ScriptedFiles chooser;
  EXPECT_TRUE(BrowseTune(p, chooser, AsciiOnly).ok());  // cancelled: nothing changes
  EXPECT_FALSE(p.modified);
  Write("noext.olg", TuneFile(3, 1));
  // Paths of 255 bytes (the most a step holds) and of one more.
  const std::size_t room = 255 - (dir.Path().string() + "/.olg").size();
  const std::string longest = Write(std::string(room, 'y') + ".olg", TuneFile(20, 7));
  struct Row {
    std::string what, path, message;  // the message of a refusal
    int32_t size = 0, tempoIndex = 0;
  };
  const Row rows[] = {
      {"current file, the longest path", longest, "", 22, 7},
      {"old version text", Write("b.olg", TuneFile(20, 9, '0')), "", 22, 2},
      {"tempo outside the table", Write("c.olg", TuneFile(510, 40)), "", 512, 2},
      {"name without a dot", (dir / "noext").string(), "", 5, 1},
      {"missing", (dir / "none.olg").string(), "Load File Open Error"},
      {"a folder", dir.Path().string() + "/.", "Load File Open Error"},
      {"short", Write("short.olg", std::vector<uint8_t>(100, 0)),
       "オルゴールファイルが壊れています。"},
      {"too long a tune", Write("long.olg", TuneFile(511, 2)),
       "このオルゴールファイルは長すぎて読み込めません。"},
      {"no Shift JIS form", Write("曲.olg", TuneFile(20, 2)),
       "ファイルのパスに使えない文字が含まれています。"},
      {"path of 256 bytes", (dir / (std::string(room + 1, 'z') + ".olg")).string(),
       "ファイルのパスが長すぎます。\n255バイト以内のパスのファイルを選んでください。"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const StepRecord before = p.steps[1];
    const int32_t tempoBefore = p.tempoIndex;
    p.modified = false;
    chooser.answers = {row.path};
    const interaction::Outcome outcome = BrowseTune(p, chooser, AsciiOnly);
    if (!row.message.empty()) {
      ASSERT_FALSE(outcome.ok());
      EXPECT_EQ(outcome.message().text, row.message);
      EXPECT_EQ(std::memcmp(&p.steps[1], &before, sizeof before), 0);
      EXPECT_EQ(p.tempoIndex, tempoBefore);
      EXPECT_FALSE(p.modified);
      continue;
    }
    ASSERT_TRUE(outcome.ok());
    // The stored path names the file read, ".olg" completed.
    const auto file = pendra2::testing::ReadBytes(OpenOrgel(p.steps[1], Identity).path);
    ASSERT_EQ(file.size(), 576u);
    EXPECT_TRUE(
        std::equal(p.steps[1].code.begin(), p.steps[1].code.begin() + 512, file.begin() + 64));
    EXPECT_EQ(p.steps[1].size, row.size);
    EXPECT_EQ(p.tempoIndex, row.tempoIndex);
    EXPECT_TRUE(p.modified);
  }
  EXPECT_EQ(OpenOrgel(p.steps[1], Identity).size, "005 バイト");
}

}  // namespace
}  // namespace pendra2::flowchart::testing
