#include "flowchart/dialog_fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "flowchart/program_builder.h"
#include "flowchart/temp_dir.h"

namespace pendra2::flowchart::testing {
namespace {

// What one entry stores: the step after Store, or the refusal.
struct Entry {
  std::string what;
  StepRecord before;
  std::function<interaction::Outcome(StepRecord&)> store;
  std::function<int32_t(const StepRecord&)> field;
  int32_t expected;
};

constexpr int32_t kCount = 8;  // jump targets are bounded to 1..7

TEST(DialogFields, EntriesAndWhatTheyStore) {
  auto wait = [](const char* text) {
    return [t = std::string(text)](StepRecord& s) { return StoreWait({t}, s); };
  };
  auto go = [](const char* text) {
    return [t = std::string(text)](StepRecord& s) { return StoreGoto({t}, s, kCount); };
  };
  auto value = [](const StepRecord& s) { return s.value; };
  auto op = [](const StepRecord& s) { return s.op; };
  auto channel = [](const StepRecord& s) { return s.channel; };
  auto target = [](const StepRecord& s) { return s.target; };
  const StepRecord branch = Step(K::Branch, 5, 2, 1, 3);
  const StepRecord variable = Step(K::Variable, 5, 4);
  const StepRecord varCompare = Step(K::VarCompare, 5, 4, 0, 3);

  const Entry entries[] = {
      {"wait 2.4", Step(K::Wait, 9), wait("2.4"), value, 4},
      {"wait 1.3", Step(K::Wait, 9), wait("1.3"), value, 2},
      {"wait 0.2", Step(K::Wait, 9), wait("0.2"), value, 0},
      {"wait text", Step(K::Wait, 9), wait("abc"), value, 0},
      {"wait unit", Step(K::Wait, 9), wait(" 1.5秒"), value, 3},
      {"wait 383", Step(K::Wait, 9), wait("383"), value, 766},
      {"wait 383.5 refused", Step(K::Wait, 9), wait("383.5"), value, 9},
      {"wait negative refused", Step(K::Wait, 9), wait("-1"), value, 9},
      {"wait nine characters", Step(K::Wait, 9), wait("1.49999999999999999"), value, 2},
      {"goto 0", Step(K::Goto), go("0"), target, 1},
      {"goto -5", Step(K::Goto), go("-5"), target, 1},
      {"goto 3", Step(K::Goto), go(" 3 "), target, 3},
      {"goto past End", Step(K::Goto), go("99"), target, kCount - 1},
      {"goto text", Step(K::Goto), go("3x"), target, 1},
      {"branch threshold", branch,
       [](StepRecord& s) {
         return StoreBranch({"-300", 1003, 1101, "2"}, s, kCount);
       },
       value, -300},
      {"branch op", branch,
       [](StepRecord& s) {
         return StoreBranch({"0", 1003, 1101, "2"}, s, kCount);
       },
       op, 1},
      {"branch no op checked", branch,
       [](StepRecord& s) {
         return StoreBranch({"0", 0, 0, "2"}, s, kCount);
       },
       op, 2},
      {"branch no input checked", branch,
       [](StepRecord& s) {
         return StoreBranch({"0", 0, 0, "2"}, s, kCount);
       },
       channel, 1},
      {"branch input 3", branch,
       [](StepRecord& s) {
         return StoreBranch({"0", 0, 1103, "2"}, s, kCount);
       },
       channel, 2},
      {"output port 1", Step(K::Output),
       [](StepRecord& s) {
         return StoreOutput({1042, 1043}, s);
       },
       channel, 1},
      {"output no port", Step(K::Output),
       [](StepRecord& s) {
         return StoreOutput({0, 1043}, s);
       },
       channel, 2},
      {"output off", Step(K::Output, 1),
       [](StepRecord& s) {
         return StoreOutput({1036, 0}, s);
       },
       value, 0},
      {"compare greater", Step(K::Compare),
       [](StepRecord& s) {
         return StoreCompare({"1", 1008, "2"}, s, kCount);
       },
       op, 1},
      {"compare less", Step(K::Compare),
       [](StepRecord& s) {
         return StoreCompare({"1", 1007, "2"}, s, kCount);
       },
       op, 2},
      {"compare none", Step(K::Compare, 0, 2),
       [](StepRecord& s) {
         return StoreCompare({"1", 0, "2"}, s, kCount);
       },
       op, 0},
      {"ext all cleared", Step(K::ExtOutput, 0, 0, 0b0101),
       [](StepRecord& s) {
         return StoreExtOutput({{false, false, false, false}}, s);
       },
       channel, 0},
      {"ext bit7 alone", Step(K::ExtOutput),
       [](StepRecord& s) {
         return StoreExtOutput({{false, false, false, true}}, s);
       },
       channel, 8},
      {"ext keeps bit 4, drops above", Step(K::ExtOutput, 0, 0, 0x31),
       [](StepRecord& s) {
         return StoreExtOutput({{true, false, false, false}}, s);
       },
       channel, 0x11},
      {"variable op x", variable,
       [](StepRecord& s) {
         return StoreVariable({"7", 1059}, s);
       },
       op, 3},
      {"variable op input 2", variable,
       [](StepRecord& s) {
         return StoreVariable({"7", 1053}, s);
       },
       op, 6},
      {"variable none checked", variable,
       [](StepRecord& s) {
         return StoreVariable({"7", 0}, s);
       },
       op, 4},
      {"variable value", variable,
       [](StepRecord& s) {
         return StoreVariable({"+70000", 0}, s);
       },
       value, 70000},
      {"variable two signs", variable,
       [](StepRecord& s) {
         return StoreVariable({"+-3", 0}, s);
       },
       value, 0},
      {"variable value too large", variable,
       [](StepRecord& s) {
         return StoreVariable({"99999999999", 0}, s);
       },
       value, 0},
      {"varcompare A<B", varCompare,
       [](StepRecord& s) {
         return StoreVarCompare({"1", 1056, "2"}, s, kCount);
       },
       op, 8},
      {"varcompare none", varCompare,
       [](StepRecord& s) {
         return StoreVarCompare({"1", 0, "2"}, s, kCount);
       },
       op, 4},
      {"varcompare target", varCompare,
       [](StepRecord& s) {
         return StoreVarCompare({"1", 0, "-1"}, s, kCount);
       },
       target, 1},
  };
  for (const Entry& e : entries) {
    StepRecord step = e.before;
    const interaction::Outcome outcome = e.store(step);
    EXPECT_EQ(e.field(step), e.expected) << e.what;
    if (!outcome.ok()) {
      EXPECT_EQ(outcome.message().text, "待機秒数は0～383秒の範囲で指定してください。") << e.what;
    }
  }
}

TEST(DialogFields, LoopCountIsClamped) {
  const std::pair<const char*, int32_t> rows[] = {{"300", 255}, {"-1", 255},  {"0", 0},
                                                  {"12", 12},   {"255", 255}, {"x", 0}};
  for (const auto& [text, expected] : rows) {
    EXPECT_EQ(StoreLoopCount({text}), expected) << text;
  }
  EXPECT_EQ(OpenLoopCount(42).count, "42");
}

TEST(DialogFields, WhatTheControlsShowOnOpening) {
  EXPECT_EQ(OpenWait(Step(K::Wait, 3)).seconds, "1.5");
  EXPECT_EQ(OpenWait(Step(K::Wait, 4)).seconds, "2.0");

  const BranchFields branch = OpenBranch(Step(K::Branch, -12, 7, 5, 4));
  EXPECT_EQ(branch.threshold, "-12");
  EXPECT_EQ(branch.opButton, 0);        // op 7 has no button
  EXPECT_EQ(branch.inputButton, 1103);  // any other input shows as input 3
  EXPECT_EQ(branch.target, "4");
  EXPECT_EQ(OpenBranch(Step(K::Branch, 0, 2, 1)).opButton, 1004);
  EXPECT_EQ(OpenBranch(Step(K::Branch, 0, 2, 1)).inputButton, 1102);

  EXPECT_EQ(OpenOutput(Step(K::Output, 1, 0, 0)).portButton, 1036);
  EXPECT_EQ(OpenOutput(Step(K::Output, 1, 0, 0)).stateButton, 1043);
  EXPECT_EQ(OpenOutput(Step(K::Output, 5, 0, 9)).portButton, 1045);
  EXPECT_EQ(OpenOutput(Step(K::Output, 5, 0, 9)).stateButton, 1044);

  EXPECT_EQ(OpenCompare(Step(K::Compare, 0, 9)).opButton, 1006);
  EXPECT_EQ(OpenCompare(Step(K::Compare, 0, 2)).opButton, 1007);
  EXPECT_EQ(OpenExtOutput(Step(K::ExtOutput, 0, 0, 0b1010)).bits,
            (std::array<bool, 4>{false, true, false, true}));
  EXPECT_EQ(OpenVariable(Step(K::Variable, 0, 4)).opButton, 1060);
  EXPECT_EQ(OpenVariable(Step(K::Variable, 0, 12)).opButton, 0);
  EXPECT_EQ(OpenVarCompare(Step(K::VarCompare, 3, 6, 0, 2)).opButton, 1054);
  EXPECT_EQ(OpenGoto(Step(K::Goto, 0, 0, 0, 6)).target, "6");

  EXPECT_EQ(ReadingText(0x34, 0x12), "4660");
  EXPECT_EQ(ReadingText(0xFF, 0xFF), "65535");
  EXPECT_EQ(BranchReadingInput(1102), 2);
  EXPECT_EQ(BranchReadingInput(0), 3);
}

// Tune files: Shift JIS is plain ASCII here, anything else has no form.
std::optional<std::string> AsciiOnly(std::string_view utf8) {
  for (const char c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x80) return std::nullopt;
  }
  return std::string(utf8);
}

std::vector<uint8_t> TuneFile(uint16_t length, uint16_t tempoIndex, char versionDigit = '5') {
  std::vector<uint8_t> bytes(576, 0);
  bytes[0] = 'O';
  bytes[1] = 'L';
  bytes[2] = 'X';
  bytes[6] = static_cast<uint8_t>(length & 0xFF);
  bytes[7] = static_cast<uint8_t>(length >> 8);
  const std::string version = std::string("2.") + versionDigit + "3.60";
  std::copy(version.begin(), version.end(), bytes.begin() + 8);
  bytes[24] = static_cast<uint8_t>(tempoIndex);
  bytes[64] = 'T';
  bytes[65] = 33;
  for (std::size_t i = 66; i < 576; ++i) bytes[i] = static_cast<uint8_t>(i % 23);
  return bytes;
}

class TuneDialogTest : public ProgramTest {
 protected:
  pendra2::testing::TempDir dir;
  void SetUp() override {
    Build(p, {Step(K::Orgel)});
    p.currentStep = 1;
    p.tempoIndex = 2;
    p.modified = false;
  }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    pendra2::testing::WriteBytes(dir / name, bytes);
    return (dir / name).string();
  }
};

TEST_F(TuneDialogTest, ChosenTuneIsCopiedIntoTheStep) {
  struct Row {
    std::string what;
    std::vector<uint8_t> file;
    std::string typed;  // as chosen, relative to the folder
    int32_t size;
    int32_t tempoIndex;
  };
  const Row rows[] = {
      {"current file", TuneFile(20, 7), "a.olg", 22, 7},
      {"old version text", TuneFile(20, 7, '0'), "a.olg", 22, 2},
      {"tempo outside the table", TuneFile(510, 40), "a.olg", 512, 2},
      {"name without a dot", TuneFile(3, 1), "noext", 5, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string stored = (dir / row.typed).string();
    const std::string onDisk =
        Write(row.typed.find('.') == std::string::npos ? row.typed + ".olg" : row.typed, row.file);
    ASSERT_TRUE(ChooseTune(p, stored, AsciiOnly).ok());
    const StepRecord& step = p.steps[1];
    EXPECT_TRUE(std::equal(step.code.begin(), step.code.begin() + 512, row.file.begin() + 64));
    EXPECT_EQ(step.size, row.size);
    EXPECT_EQ(p.tempoIndex, row.tempoIndex);
    EXPECT_EQ(StoredTunePath(step), onDisk);
    EXPECT_TRUE(p.modified);
    const OrgelFields shown = OpenOrgel(step, [](std::string_view s) { return std::string(s); });
    EXPECT_EQ(shown.path, onDisk);
    EXPECT_EQ(shown.size.substr(0, 3), std::to_string(1000 + row.size).substr(1));
  }
}

TEST_F(TuneDialogTest, RefusedTunesLeaveTheStepAlone) {
  const std::string longName(260, 'x');
  struct Row {
    std::string what;
    std::string path;
    std::string message;
  };
  const Row rows[] = {
      {"missing", (dir / "none.olg").string(), "Load File Open Error"},
      {"a folder", dir.Path().string() + "/.", "Load File Open Error"},
      {"short", Write("short.olg", std::vector<uint8_t>(100, 0)),
       "オルゴールファイルが壊れています。"},
      {"too long a tune", Write("long.olg", TuneFile(511, 2)),
       "このオルゴールファイルは長すぎて読み込めません。"},
      {"no Shift JIS form", Write("曲.olg", TuneFile(20, 2)),
       "ファイルのパスに使えない文字が含まれています。"},
      {"path over 255 bytes", "/tmp/" + longName + ".olg",
       "ファイルのパスが長すぎます。\n255バイト以内のパスのファイルを選んでください。"},
  };
  Write("keep.olg", TuneFile(20, 4));
  ASSERT_TRUE(ChooseTune(p, (dir / "keep.olg").string(), AsciiOnly).ok());
  p.modified = false;
  const StepRecord before = p.steps[1];
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const interaction::Outcome outcome = ChooseTune(p, row.path, AsciiOnly);
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.message().text, row.message);
    EXPECT_EQ(std::memcmp(&p.steps[1], &before, sizeof before), 0);
    EXPECT_EQ(p.tempoIndex, 4);
    EXPECT_FALSE(p.modified);
  }
}

TEST_F(TuneDialogTest, BrowseAsksForAnOlgFile) {
  struct Chooser final : interaction::FileChooser {
    std::optional<std::string> answer;
    std::vector<interaction::FileRequest> asked;
    std::optional<std::string> Choose(const interaction::FileRequest& r) override {
      asked.push_back(r);
      return answer;
    }
  } chooser;
  EXPECT_TRUE(BrowseTune(p, chooser, AsciiOnly).ok());
  EXPECT_FALSE(p.modified);
  ASSERT_EQ(chooser.asked.size(), 1u);
  EXPECT_EQ(chooser.asked[0].title, "オルゴールファイル読込み");
  EXPECT_EQ(chooser.asked[0].filterName, "Orgel FILE (*.olg)");
  EXPECT_EQ(chooser.asked[0].pattern, "*.olg");
  EXPECT_EQ(chooser.asked[0].defaultExtension, "olg");

  chooser.answer = Write("b.olg", TuneFile(30, 3));
  EXPECT_TRUE(BrowseTune(p, chooser, AsciiOnly).ok());
  EXPECT_EQ(p.steps[1].size, 32);
  EXPECT_TRUE(p.modified);
}

}  // namespace
}  // namespace pendra2::flowchart::testing
