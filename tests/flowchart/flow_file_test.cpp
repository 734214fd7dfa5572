#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "flowchart/flow_file.h"
#include "program_builder.h"
#include "temp_dir.h"

namespace pendra2::flowchart {
namespace {

using pendra2::testing::ReadBytes;
using pendra2::testing::TempDir;
using pendra2::testing::WriteBytes;
using testing::Build;
using testing::Jump;
using testing::Loop;
using testing::LoopEnd;
using testing::Output;
using testing::Step;
using testing::Wait;

std::vector<uint8_t> RecordBytes(const StepRecord& s) {
  std::vector<uint8_t> b(sizeof s);
  std::memcpy(b.data(), &s, sizeof s);
  return b;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& b, std::size_t at, std::size_t n) {
  return std::vector<uint8_t>(b.begin() + at, b.begin() + at + n);
}

class FlowFileTest : public ::testing::Test {
 protected:
  std::unique_ptr<FlowProgram> owned = std::make_unique<FlowProgram>();
  std::unique_ptr<FlowProgram> otherOwned = std::make_unique<FlowProgram>();
  FlowProgram& p = *owned;
  FlowProgram& other = *otherOwned;
  TempDir dir;

  // A valid file with a loop, a jump and leftovers beyond its count.
  std::vector<uint8_t> SavedSample() {
    Build(p, {Loop(3), Output(0, 1), LoopEnd(), Jump(StepKind::Goto, 1)});
    p.steps[100] = Wait(5);
    EXPECT_TRUE(SaveFlowFile(p, dir / "sample.flc").ok);
    return ReadBytes(dir / "sample.flc");
  }

  void ExpectUntouched(const FlowProgram& before, const FlowProgram& after) {
    EXPECT_EQ(std::memcmp(before.steps.data(), after.steps.data(), sizeof before.steps), 0);
    EXPECT_EQ(before.count, after.count);
    EXPECT_EQ(before.image, after.image);
    EXPECT_EQ(before.imageSize, after.imageSize);
    EXPECT_EQ(before.modified, after.modified);
  }
};

TEST_F(FlowFileTest, SavedFileLayout) {
  NewProgram(p);
  p.tempoIndex = 0x0105;
  p.modified = -1;
  p.steps[7] = Output(2, 1);  // a leftover beyond the count
  const auto r = SaveFlowFile(p, dir / "two.flc");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.documentPath, dir / "two.flc");
  EXPECT_EQ(p.modified, 0);
  const auto bytes = ReadBytes(dir / "two.flc");
  ASSERT_EQ(bytes.size(), 204864u);
  EXPECT_EQ(Slice(bytes, 0, 26),
            (std::vector<uint8_t>{'F', 'L', 'W', 0, 0, 0, 2, 0, '4', '.', '2', '5', '.',
                                  '8', '0', 'A', 0, 0, 0, 0, 0, 0,   0,   0,   5,   1}));
  EXPECT_EQ(Slice(bytes, 26, 38), std::vector<uint8_t>(38, 0));
  for (int i = 0; i < kStepSlots; ++i) {
    ASSERT_EQ(Slice(bytes, 64 + 800 * i, 800), RecordBytes(p.steps[i])) << i;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "two.flc.saving"));
}

TEST_F(FlowFileTest, RoundTripIsByteForByteIncludingLeftovers) {
  const auto bytes = SavedSample();
  const auto r = LoadFlowFile(other, dir / "sample.flc");
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_TRUE(r.resetTopStep);
  EXPECT_EQ(r.documentPath, dir / "sample.flc");
  EXPECT_EQ(other.count, 6);
  EXPECT_EQ(std::memcmp(p.steps.data(), other.steps.data(), sizeof p.steps), 0);
  EXPECT_EQ(other.image, p.image);
  ASSERT_TRUE(SaveFlowFile(other, dir / "again.flc").ok);
  EXPECT_EQ(ReadBytes(dir / "again.flc"), bytes);
}

TEST_F(FlowFileTest, LoadRebuildsDerivedTablesAndKeepsTempo) {
  auto bytes = SavedSample();
  // Damage what recompute derives: depth fields, the loop end's depth byte, a size.
  auto poke = [&](int step, std::size_t field, int32_t v) {
    std::memcpy(&bytes[64 + 800 * step + field], &v, 4);
  };
  poke(1, offsetof(StepRecord, depth), 3);
  poke(3, offsetof(StepRecord, depth), 3);
  bytes[64 + 800 * 3 + 4 + 1] = 9;
  poke(2, offsetof(StepRecord, size), 200);
  bytes[24] = 11;
  WriteBytes(dir / "damaged.flc", bytes);
  other.tempoIndex = 4;
  other.modified = -1;
  ASSERT_TRUE(LoadFlowFile(other, dir / "damaged.flc").ok);
  EXPECT_EQ(other.steps[1].depth, 1);
  EXPECT_EQ(other.steps[3].depth, 1);
  EXPECT_EQ(other.steps[3].code[1], 1);
  EXPECT_EQ(other.steps[2].size, 3);
  EXPECT_EQ(other.image, p.image);
  EXPECT_EQ(other.endAddress[4], 15);
  EXPECT_EQ(other.tempoIndex, 4);
  EXPECT_EQ(other.modified, 0);
}

TEST_F(FlowFileTest, HeaderLeftoversTravelIntoTheNextSave) {
  auto bytes = SavedSample();
  for (int i = 26; i < 64; ++i) bytes[i] = static_cast<uint8_t>(i);
  const char longer[] = "1.00.00-long!!!";  // 15 characters and a NUL
  std::memcpy(&bytes[8], longer, 16);
  WriteBytes(dir / "old.flc", bytes);
  ASSERT_TRUE(LoadFlowFile(other, dir / "old.flc").ok);
  ASSERT_TRUE(SaveFlowFile(other, dir / "new.flc").ok);
  const auto saved = ReadBytes(dir / "new.flc");
  for (int i = 26; i < 64; ++i) EXPECT_EQ(saved[i], i);
  // Our version and its NUL replace the old one's start; the old tail stays behind.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&saved[8])), "4.25.80A");
  EXPECT_EQ(Slice(saved, 17, 7), Slice(bytes, 17, 7));
}

TEST_F(FlowFileTest, VersionTest) {
  auto bytes = SavedSample();
  struct Case {
    const char* version;
    bool accepted;
  };
  for (const Case c :
       {Case{"1", true}, Case{"1.99", true}, Case{"4.25.80A", true}, Case{"4.2", true},
        Case{"4.0", true}, Case{"4.3", false}, Case{"4.99", false}, Case{"5.00", false},
        Case{"2.0", false}, Case{"3.0", false}, Case{"", false}}) {
    std::memset(&bytes[8], 0, 16);
    std::memcpy(&bytes[8], c.version, std::strlen(c.version));
    WriteBytes(dir / "v.flc", bytes);
    NewProgram(other);
    Recompute(other);
    const auto before = std::make_unique<FlowProgram>(other);
    const auto r = LoadFlowFile(other, dir / "v.flc");
    EXPECT_EQ(r.ok, c.accepted) << c.version;
    if (!c.accepted) {
      EXPECT_EQ(r.message, kVersionRefused);
      EXPECT_EQ(r.caption, "Error Message");
      EXPECT_TRUE(r.documentPath.empty());
      ExpectUntouched(*before, other);
      EXPECT_EQ(other.headerBuffer[8], bytes[8]);  // the refused header stays in the buffer
    }
  }
}

TEST_F(FlowFileTest, RefusedFilesChangeNothing) {
  const auto good = SavedSample();
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    std::string_view message;
  };
  std::vector<Case> cases;
  auto withCount = [&](int count) {
    auto b = good;
    b[6] = static_cast<uint8_t>(count & 0xFF);
    b[7] = static_cast<uint8_t>(count >> 8);
    return b;
  };
  cases.push_back({"empty", {}, kTruncatedFile});
  cases.push_back({"half header", Slice(good, 0, 40), kTruncatedFile});
  cases.push_back({"count 0", withCount(0), kDamagedFile});
  cases.push_back({"count 1", withCount(1), kDamagedFile});
  cases.push_back({"count 256", withCount(256), kDamagedFile});
  cases.push_back({"count 65535", withCount(65535), kDamagedFile});
  cases.push_back({"count 5: last is not End", withCount(5), kDamagedFile});
  auto noStart = good;
  noStart[64] = 3;
  cases.push_back({"first is not Start", noStart, kDamagedFile});
  cases.push_back({"records cut short", Slice(good, 0, 64 + 800 * 5 + 799), kTruncatedFile});
  for (const auto& c : cases) {
    WriteBytes(dir / "bad.flc", c.bytes);
    NewProgram(other);
    other.steps[9] = Output(1, 1);
    other.modified = -1;
    Recompute(other);
    const auto before = std::make_unique<FlowProgram>(other);
    const auto r = LoadFlowFile(other, dir / "bad.flc");
    EXPECT_FALSE(r.ok) << c.name;
    EXPECT_EQ(r.message, c.message) << c.name;
    EXPECT_EQ(r.caption, kErrorCaption);
    EXPECT_FALSE(r.resetTopStep);
    ExpectUntouched(*before, other);
    EXPECT_EQ(other.headerBuffer, before->headerBuffer) << c.name;
  }
}

TEST_F(FlowFileTest, MissingOrUnopenableFile) {
  for (const auto& path : {dir / "absent.flc", dir.Path()}) {
    const auto r = LoadFlowFile(other, path);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, kLoadOpenError);
    EXPECT_EQ(r.caption, kErrorCaption);
  }
}

TEST_F(FlowFileTest, ShortFileKeepsTheSlotsItDoesNotReach) {
  const auto good = SavedSample();
  NewProgram(other);
  other.steps[200] = Output(2, 1);
  other.steps[8] = Output(1, 0);
  WriteBytes(dir / "short.flc", Slice(good, 0, 64 + 800 * 7 + 100));
  ASSERT_TRUE(LoadFlowFile(other, dir / "short.flc").ok);
  EXPECT_EQ(other.count, 6);
  EXPECT_TRUE(other.steps[200].Is(StepKind::Output));
  EXPECT_EQ(other.steps[8].channel, 1);
  EXPECT_EQ(std::memcmp(&other.steps[7], &p.steps[7], 100), 0);  // the part it does hold
}

TEST_F(FlowFileTest, OversizeProgramLoads) {
  Build(p, {Wait(300), Wait(300)});
  ASSERT_TRUE(SaveFlowFile(p, dir / "big.flc").ok);
  ASSERT_TRUE(LoadFlowFile(other, dir / "big.flc").ok);
  EXPECT_EQ(other.imageSize, 604);
}

TEST_F(FlowFileTest, FailedSaveKeepsThePreviousFileAndTheChangedMark) {
  const auto good = SavedSample();
  p.modified = -1;
  p.steps[1] = Output(2, 0);
  // Something in the way of the temporary file makes the write fail before the rename.
  std::filesystem::create_directory(dir / "sample.flc.saving");
  auto r = SaveFlowFile(p, dir / "sample.flc");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, kSaveOpenError);
  EXPECT_EQ(r.caption, kErrorCaption);
  EXPECT_EQ(p.modified, -1);
  EXPECT_EQ(ReadBytes(dir / "sample.flc"), good);

  r = SaveFlowFile(p, dir / "no-such-folder" / "x.flc");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, kSaveOpenError);
  EXPECT_EQ(p.modified, -1);
}

}  // namespace
}  // namespace pendra2::flowchart
