#include <gtest/gtest.h>

#include <cstring>

#include "flowchart/flow_file.h"
#include "program_builder.h"
#include "temp_dir.h"

namespace pendra2::flowchart {
namespace {

using namespace testing;
using pendra2::testing::ReadBytes;
using pendra2::testing::WriteBytes;
using Bytes = std::vector<uint8_t>;

Bytes Slice(const Bytes& b, std::size_t at, std::size_t n) {
  return Bytes(b.begin() + at, b.begin() + at + n);
}

class FlowFileTest : public ProgramTest {
 protected:
  std::unique_ptr<FlowProgram> otherOwned = std::make_unique<FlowProgram>();
  FlowProgram& other = *otherOwned;
  pendra2::testing::TempDir dir;

  // A valid file with a loop, a jump and a leftover beyond its count.
  Bytes SavedSample() {
    Build(p, {Loop(3), Step(K::Output, 1), LoopEnd(), Step(K::Goto, 0, 0, 0, 1)});
    p.steps[100] = Step(K::Wait, 5);
    EXPECT_TRUE(SaveFlowFile(p, dir / "sample.flc").ok());
    return ReadBytes(dir / "sample.flc");
  }

  // Loads `bytes` into a fresh session and checks a refusal leaves it as it was.
  interaction::UserMessage LoadRefused(const Bytes& bytes, bool headerKept = true) {
    WriteBytes(dir / "bad.flc", bytes);
    NewProgram(other);
    other.steps[9] = Step(K::Output, 1, 0, 1);
    other.modified = true;
    Recompute(other);
    const auto before = std::make_unique<FlowProgram>(other);
    const auto r = LoadFlowFile(other, dir / "bad.flc");
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.message().caption, "Error Message");
    // A version refusal does fill the header buffer.
    const auto kept = headerKept ? sizeof other : offsetof(FlowProgram, headerBuffer);
    EXPECT_EQ(std::memcmp(before.get(), &other, kept), 0);
    return r.ok() ? interaction::UserMessage{} : r.message();
  }
};

TEST_F(FlowFileTest, SavedFileLayout) {
  NewProgram(p);
  p.tempoIndex = 0x0105;
  p.modified = true;
  p.steps[7] = Step(K::Output, 1, 0, 2);  // a leftover beyond the count
  const auto r = SaveFlowFile(p, dir / "two.flc");
  ASSERT_TRUE(r.ok());
  EXPECT_FALSE(p.modified);
  const auto bytes = ReadBytes(dir / "two.flc");
  ASSERT_EQ(bytes.size(), 204864u);
  Bytes header = {'F', 'L', 'W', 0, 0, 0, 2, 0, '4', '.', '2', '5', '.', '8', '0', 'A'};
  header.resize(24, 0);
  header.insert(header.end(), {5, 1});
  header.resize(64, 0);
  EXPECT_EQ(Slice(bytes, 0, 64), header);
  EXPECT_EQ(std::memcmp(&bytes[64], p.steps.data(), sizeof p.steps), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "two.flc.saving"));
}

TEST_F(FlowFileTest, RoundTripRebuildsDerivedFieldsAndKeepsTheSessionTempo) {
  auto good = SavedSample();
  auto bytes = good;
  const auto field = [](int step, std::size_t offset) { return 64 + 800 * step + offset; };
  bytes[field(1, offsetof(StepRecord, depth))] = 3;
  bytes[field(3, offsetof(StepRecord, code) + 1)] = 9;
  bytes[field(2, offsetof(StepRecord, size))] = 200;
  bytes[24] = 11;
  WriteBytes(dir / "damaged.flc", bytes);
  other.tempoIndex = 4;
  other.modified = true;
  const auto r = LoadFlowFile(other, dir / "damaged.flc");
  ASSERT_TRUE(r.ok()) << r.message().text;
  EXPECT_EQ(other.count, 6);
  EXPECT_EQ(other.image, p.image);
  EXPECT_EQ(other.tempoIndex, 4);
  EXPECT_FALSE(other.modified);
  ASSERT_TRUE(SaveFlowFile(other, dir / "again.flc").ok());
  good[24] = 4;
  EXPECT_EQ(ReadBytes(dir / "again.flc"), good);  // leftover slots included
}

TEST_F(FlowFileTest, HeaderLeftoversTravelIntoTheNextSave) {
  auto bytes = SavedSample();
  for (int i = 26; i < 64; ++i) bytes[i] = static_cast<uint8_t>(i);
  std::memcpy(&bytes[8], "1.00.00-long!!!", 16);
  WriteBytes(dir / "old.flc", bytes);
  ASSERT_TRUE(LoadFlowFile(other, dir / "old.flc").ok());
  ASSERT_TRUE(SaveFlowFile(other, dir / "new.flc").ok());
  const auto saved = ReadBytes(dir / "new.flc");
  EXPECT_EQ(Slice(saved, 26, 38), Slice(bytes, 26, 38));
  // Our version and its NUL replace the old one's start; the old tail stays behind.
  EXPECT_EQ(Slice(saved, 8, 9), Bytes({'4', '.', '2', '5', '.', '8', '0', 'A', 0}));
  EXPECT_EQ(Slice(saved, 17, 7), Slice(bytes, 17, 7));
}

TEST_F(FlowFileTest, VersionTest) {
  auto bytes = SavedSample();
  for (const std::string version :
       {"1", "1.99", "4.25.80A", "4.2", "4.0", "4.3", "4.99", "5.00", "2.0", "3.0", ""}) {
    SCOPED_TRACE(version);
    std::memset(&bytes[8], 0, 16);
    std::memcpy(&bytes[8], version.data(), version.size());
    if (version[0] == '1' || (version[0] == '4' && version[2] < '3')) {
      WriteBytes(dir / "v.flc", bytes);
      EXPECT_TRUE(LoadFlowFile(other, dir / "v.flc").ok());
      continue;
    }
    EXPECT_EQ(LoadRefused(bytes, false).text,
              "このバージョンのプログラムでは操作できません。\n"
              "新しいバージョンのプログラムをご使用ください");
    EXPECT_EQ(other.headerBuffer[8], bytes[8]);  // the refused header stays in the buffer
  }
}

TEST_F(FlowFileTest, DamagedFilesAreRefused) {
  const auto good = SavedSample();
  for (std::size_t length : {0, 40, 64 + 800 * 5 + 799}) {
    EXPECT_EQ(LoadRefused(Slice(good, 0, length)).text, kTruncatedFile) << length;
  }
  for (int count : {0, 1, 256, 65535, 5}) {  // 5: the last step is not End
    auto bytes = good;
    bytes[6] = static_cast<uint8_t>(count & 0xFF);
    bytes[7] = static_cast<uint8_t>(count >> 8);
    EXPECT_EQ(LoadRefused(bytes).text, kDamagedFile) << count;
  }
  auto noStart = good;
  noStart[64] = 3;
  EXPECT_EQ(LoadRefused(noStart).text, kDamagedFile);
  for (const auto& path : {dir / "absent.flc", dir.Path()}) {
    EXPECT_EQ(LoadFlowFile(other, path).message().text, "Load File Open Error");
  }
}

TEST_F(FlowFileTest, ShortFileKeepsTheSlotsItDoesNotReach) {
  const auto good = SavedSample();
  NewProgram(other);
  other.steps[200] = Step(K::Output, 1, 0, 2);
  other.steps[8] = Step(K::Output, 0, 0, 1);
  WriteBytes(dir / "short.flc", Slice(good, 0, 64 + 800 * 7 + 100));
  ASSERT_TRUE(LoadFlowFile(other, dir / "short.flc").ok());
  EXPECT_EQ(other.count, 6);
  EXPECT_TRUE(other.steps[200].Is(K::Output));
  EXPECT_EQ(other.steps[8].channel, 1);
  EXPECT_EQ(std::memcmp(&other.steps[7], &p.steps[7], 100), 0);  // the part it does hold
}

TEST_F(FlowFileTest, OversizeProgramLoads) {
  Build(p, {Step(K::Wait, 300), Step(K::Wait, 300)});
  ASSERT_TRUE(SaveFlowFile(p, dir / "big.flc").ok());
  ASSERT_TRUE(LoadFlowFile(other, dir / "big.flc").ok());
  EXPECT_EQ(other.imageSize, 604);
}

TEST_F(FlowFileTest, FailedSaveKeepsThePreviousFileAndTheChangedMark) {
  const auto good = SavedSample();
  p.modified = true;
  p.steps[1] = Step(K::Output, 0, 0, 2);
  // Something in the way of the temporary file makes the write fail before the rename.
  std::filesystem::create_directory(dir / "sample.flc.saving");
  for (const auto& path : {dir / "sample.flc", dir / "no-such-folder" / "x.flc"}) {
    const auto r = SaveFlowFile(p, path);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.message().text, "Save File Open Error");
    EXPECT_EQ(r.message().caption, "Error Message");
    EXPECT_TRUE(p.modified);
  }
  EXPECT_EQ(ReadBytes(dir / "sample.flc"), good);
}

}  // namespace
}  // namespace pendra2::flowchart
