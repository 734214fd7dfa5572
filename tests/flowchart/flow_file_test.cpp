#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "flowchart/flow_file.h"
#include "flowchart/listing.h"
#include "interaction/save_whole.h"
#include "program_builder.h"
#include "support/as_saving_user.h"
#include "temp_dir.h"

namespace pendra2::flowchart {
namespace {

using namespace testing;
using pendra2::testing::ReadBytes;
using pendra2::testing::TempDir;
using pendra2::testing::WriteBytes;
using Bytes = std::vector<uint8_t>;

Bytes Slice(const Bytes& b, std::size_t at, std::size_t n) {
  return Bytes(b.begin() + at, b.begin() + at + n);
}

class FlowFileTest : public ProgramTest {
 protected:
  std::unique_ptr<FlowProgram> otherOwned = std::make_unique<FlowProgram>();
  FlowProgram& other = *otherOwned;
  TempDir dir;

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

// The header as saved; then what a loaded file's header leaves in the next save: bytes 26..63
// travel on, and our version and its NUL replace only the start of an older one.
TEST_F(FlowFileTest, SavedHeaderAndItsLeftovers) {
  NewProgram(p);
  p.tempoIndex = 0x0105;
  p.modified = true;
  p.steps[7] = Step(K::Output, 1, 0, 2);  // a leftover beyond the count
  ASSERT_TRUE(SaveFlowFile(p, dir / "two.flc").ok());
  EXPECT_FALSE(p.modified);
  auto bytes = ReadBytes(dir / "two.flc");
  ASSERT_EQ(bytes.size(), 204864u);
  Bytes header = {'F', 'L', 'W', 0, 0, 0, 2, 0, '4', '.', '2', '5', '.', '8', '0', 'A'};
  header.resize(24, 0);
  header.insert(header.end(), {5, 1});
  header.resize(64, 0);
  EXPECT_EQ(Slice(bytes, 0, 64), header);
  EXPECT_EQ(std::memcmp(&bytes[64], p.steps.data(), sizeof p.steps), 0);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}),
            1);  // nothing beside

  for (int i = 26; i < 64; ++i) bytes[i] = static_cast<uint8_t>(i);
  std::memcpy(&bytes[8], "1.00.00-long!!!", 16);
  WriteBytes(dir / "old.flc", bytes);
  ASSERT_TRUE(LoadFlowFile(other, dir / "old.flc").ok());
  ASSERT_TRUE(SaveFlowFile(other, dir / "new.flc").ok());
  const auto saved = ReadBytes(dir / "new.flc");
  EXPECT_EQ(Slice(saved, 26, 38), Slice(bytes, 26, 38));
  EXPECT_EQ(Slice(saved, 8, 9), Bytes({'4', '.', '2', '5', '.', '8', '0', 'A', 0}));
  EXPECT_EQ(Slice(saved, 17, 7), Slice(bytes, 17, 7));
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

TEST_F(FlowFileTest, RefusedFilesChangeNothing) {
  const auto good = SavedSample();
  // Versions beginning with '1', and '4' ones below "4.3", load; the others are refused,
  // their header left in the buffer.
  const std::pair<std::string, bool> versions[] = {
      {"1.99", true},  {"4.25.80A", true}, {"4.2", true},  {"4.3", false},
      {"4.99", false}, {"5.00", false},    {"3.0", false}, {"", false}};
  for (const auto& [version, accepted] : versions) {
    SCOPED_TRACE(version);
    auto bytes = good;
    std::memset(&bytes[8], 0, 16);
    std::memcpy(&bytes[8], version.data(), version.size());
    if (accepted) {
      EXPECT_TRUE(LoadFlowBytes(other, bytes).ok());
      continue;
    }
    EXPECT_EQ(LoadRefused(bytes, false).text,
              "このバージョンのプログラムでは操作できません。\n"
              "新しいバージョンのプログラムをご使用ください");
    EXPECT_EQ(other.headerBuffer[8], bytes[8]);
  }
  for (std::size_t length : {2, 40, 64 + 800 * 5 + 799}) {
    EXPECT_EQ(LoadRefused(Slice(good, 0, length)).text, kTruncatedFile) << length;
  }
  // Without "FL" at its start a file is no program at all, whatever its version field says
  // (a tune's "2.53.60", a picture's zeros, or a program's own): never the version message.
  Bytes tune{'O', 'L', 'X', 0, 0, 0, 1, 0, '2', '.', '5', '3', '.', '6', '0'};
  tune.resize(576, 0xFF);
  Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, '\r', 'I', 'H', 'D', 'R'};
  png.resize(400, 0);
  auto renamed = good;
  renamed[0] = 'O';
  for (const Bytes& foreign : {Bytes{}, Bytes{'F'}, tune, png, renamed}) {
    EXPECT_EQ(
        LoadRefused(foreign).text,
        "「bad.flc」は読み込めません。\nステップクラフトのアクティビティ図ファイルではありません。")
        << foreign.size();
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

TEST_F(FlowFileTest, FailedSaveKeepsThePreviousFileAndTheChangedMark) {
  const auto good = SavedSample();
  p.modified = true;
  p.steps[1] = Step(K::Output, 0, 0, 2);
  // A folder where the file should go, and a missing folder: the save fails and leaves nothing.
  std::filesystem::create_directory(dir / "folder.flc");
  for (const auto& path : {dir / "folder.flc", dir / "no-such-folder" / "x.flc"}) {
    const auto r = SaveFlowFile(p, path);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.message().text, "Save File Open Error");
    EXPECT_EQ(r.message().caption, "Error Message");
    EXPECT_TRUE(p.modified);
  }
  EXPECT_EQ(ReadBytes(dir / "sample.flc"), good);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "folder.flc"));
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    EXPECT_EQ(entry.path().string().find(".saving"), std::string::npos) << entry.path();
}

// What a save leaves of a folder's files, made by the user they belong to: through links, in
// a folder that user cannot write (closed), on a full disk. f.flc was there before.
TEST_F(FlowFileTest, ASaveKeepsWhatTheFileWas) {
  namespace fs = std::filesystem;
  const fs::perms k644{0644}, k600{0600}, k444{0444}, k555{0555}, kOpen{0755}, kNone{};
  enum Told { kSaved, kOpenError, kMayBeDamaged, kOther };
  const struct Row {
    const char* what;
    std::vector<std::pair<fs::path, fs::path>> links;  // name, where it leads
    fs::perms oldBits, folderBits;                     // kNone: no f.flc
    rlim_t sizeLimit;
    const char* saveAs;
    int told;
    const char* holds = "";  // the file with the program after a save
  } rows[] = {
      {"a link", {{"l", "f.flc"}}, k644, kOpen, 0, "l", kSaved, "f.flc"},
      {"a chain of links", {{"l2", "l1"}, {"l1", "f.flc"}}, k600, kOpen, 0, "l2", kSaved, "f.flc"},
      {"a link to no file yet", {{"l", "new.flc"}}, kNone, kOpen, 0, "l", kSaved, "new.flc"},
      {"a link into no folder", {{"l", "gone/new.flc"}}, k644, kOpen, 0, "l", kOpenError},
      {"a closed folder", {{"l", "f.flc"}}, k600, k555, 0, "l", kSaved, "f.flc"},
      {"a new file in a closed folder", {}, kNone, k555, 0, "new.flc", kOpenError},
      {"a full disk in a closed folder", {}, k644, k555, 100, "f.flc", kMayBeDamaged},
      {"a full disk", {{"l", "f.flc"}}, k600, kOpen, 100, "l", kOpenError},
      {"a read-only file", {}, k444, kOpen, 0, "f.flc", kOpenError},
      {"a read-only file in a closed folder", {}, k444, k555, 0, "f.flc", kOpenError},
  };
  const mode_t mask = umask(0);
  umask(mask);
  Build(p, {Step(K::Output, 1), Step(K::Wait, 3)});
  ASSERT_TRUE(SaveFlowFile(p, dir / "expected.flc").ok());
  p.modified = true;
  const Bytes old(kFlowFileBytes, 0x5A);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const fs::path folder = dir / row.what;
    fs::create_directory(folder);
    const bool isNew = row.oldBits == kNone;
    if (!isNew) WriteBytes(folder / "f.flc", old);
    if (!isNew) fs::permissions(folder / "f.flc", row.oldBits);
    for (const auto& [name, leadsTo] : row.links) fs::create_symlink(leadsTo, folder / name);
    fs::permissions(folder, row.folderBits);
    const auto told = pendra2::testing::SaveAsUser(
        dir.Path(),
        [&] {
          const auto r = SaveFlowFile(p, folder / row.saveAs);
          return r.ok()                               ? kSaved
                 : r.message().text == kSaveOpenError ? kOpenError
                 : r.message() == interaction::UserMessage(interaction::kSaveMayHaveDamagedFile)
                     ? kMayBeDamaged
                     : kOther;
        },
        row.sizeLimit);
    fs::permissions(folder, kOpen);
    if (!told) GTEST_SKIP() << "the saves must be made by a user whom permissions bind";
    EXPECT_EQ(*told, row.told);
    for (const auto& [name, leadsTo] : row.links)
      EXPECT_EQ(fs::read_symlink(folder / name), leadsTo);
    if (row.told == kSaved) {
      EXPECT_EQ(ReadBytes(folder / row.holds), ReadBytes(dir / "expected.flc"));
      EXPECT_EQ(fs::status(folder / row.holds).permissions(),
                isNew ? fs::perms(0666 & ~mask) : row.oldBits);
    } else if (row.told == kOpenError && !isNew) {
      EXPECT_EQ(ReadBytes(folder / "f.flc"), old);
      EXPECT_EQ(fs::status(folder / "f.flc").permissions(), row.oldBits);
    }
    for (const auto& entry : fs::directory_iterator(folder))
      EXPECT_EQ(entry.path().string().find(".saving"), std::string::npos) << entry.path();
  }
}

// Damaged and foreign files: whatever the bytes, loading either refuses with a message and
// changes nothing, or yields a program that recomputes, compiles and lists without reading
// or writing outside its storage (the sanitizer build runs this too).

// Everything the editor, the listing and the CLI do with a loaded program.
void Exercise(FlowProgram& p) {
  ASSERT_GE(p.count, 2);
  ASSERT_LE(p.count, kMaxSteps);
  if (Recompute(p)) {
    EXPECT_EQ(p.image[p.imageSize], 'E');
  } else {
    EXPECT_GT(p.imageSize, 511);
  }
  const auto passThrough = [](std::string_view s) { return std::string(s); };
  for (int i = 0; i < p.count; ++i) {
    for (auto n : {Notation::Basic, Notation::Japanese, Notation::C}) {
      ListingLine(i, p.steps[i], n, passThrough);
    }
    StepCaption(p.steps[i], passThrough);
  }
}

class Mutator {
 public:
  explicit Mutator(uint32_t seed) : rng_(seed) {}
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  std::vector<uint8_t> RandomBytes() {
    std::vector<uint8_t> b(Pick(0, 3) == 0 ? Pick(0, 300) : Pick(0, kFlowFileBytes + 100));
    for (auto& byte : b) byte = static_cast<uint8_t>(rng_());
    if (b.size() >= 16 && Pick(0, 1)) std::memcpy(&b[8], "4.25.80A", 8);  // past the version
    return b;
  }

  std::vector<uint8_t> Mutated(std::vector<uint8_t> b) {
    for (int e = Pick(1, 12); e > 0; --e) {
      switch (Pick(0, 5)) {
        case 0:  // any byte of the header and the first records
          b[Pick(0, 64 + 800 * 16 - 1)] = static_cast<uint8_t>(rng_());
          break;
        case 1:  // a whole int field of some record: kind, sizes, targets, ops, channels
          Poke(b, Pick(0, 15), kFields[Pick(0, 8)], Extreme());
          break;
        case 2: {  // the count, mostly with an End placed where it says
          const int count = Pick(0, 3) == 0 ? Pick(0, 65535) : Pick(2, 255);
          b[6] = static_cast<uint8_t>(count & 0xFF);
          b[7] = static_cast<uint8_t>(count >> 8);
          if (count >= 2 && count <= 255) Poke(b, count - 1, 0, 99);
          break;
        }
        case 3:
          Poke(b, Pick(1, 14), 0, Pick(-2, 13));
          break;
        case 4:  // a tune path without its NUL
          std::memset(&b[64 + 800 * 7 + 4 + 512], Pick(0x40, 0xFF), 256);
          break;
        default:
          b.resize(Pick(0, static_cast<int>(b.size())));
          return b;
      }
    }
    return b;
  }

 private:
  static constexpr std::size_t kFields[] = {0, 772, 776, 780, 784, 788, 792, 796, 4};
  int32_t Extreme() {
    constexpr int32_t values[] = {0,   1,   -1,  2,   3,     255,       256,      511,
                                  512, 767, 768, 769, 65535, INT32_MAX, INT32_MIN};
    return Pick(0, 1) ? values[Pick(0, 14)] : static_cast<int32_t>(rng_());
  }
  static void Poke(std::vector<uint8_t>& b, int step, std::size_t field, int32_t v) {
    const std::size_t at = 64 + 800 * static_cast<std::size_t>(step) + field;
    if (at + 4 <= b.size()) std::memcpy(&b[at], &v, 4);
  }
  std::mt19937 rng_;
};

TEST_F(FlowFileTest, ThousandsOfRandomAndMutatedFiles) {
  StepRecord tune = Step(K::Orgel);
  tune.size = 20;
  StoreTunePath(tune, "C:\\tunes\\\x83\x5C\x82\xA0long_name.olg");
  Build(p, {Loop(3), Step(K::Output, 1), Loop(2), Step(K::Wait, 4), LoopEnd(), LoopEnd(), tune,
            Step(K::Branch, 300, 1, 1, 2), Step(K::Compare, 7, 2, 0, 5), Step(K::Variable, 3, 9, 1),
            Step(K::VarCompare, 2, 8, 0, 1), Step(K::Goto, 0, 0, 0, 3)});
  ASSERT_TRUE(SaveFlowFile(p, dir / "valid.flc").ok());
  const auto valid = ReadBytes(dir / "valid.flc");
  Mutator m(20261206);
  int loaded = 0;
  for (int round = 0; round < 3000; ++round) {
    const auto bytes = round % 4 == 0 ? m.RandomBytes() : m.Mutated(valid);
    NewProgram(other);
    Recompute(other);
    const auto before = std::make_unique<FlowProgram>(other);
    interaction::Outcome r;
    if (round % 30 == 0) {  // the file path too, now and then
      WriteBytes(dir / "damaged.flc", bytes);
      r = LoadFlowFile(other, dir / "damaged.flc");
    } else {
      r = LoadFlowBytes(other, bytes);
    }
    if (r.ok()) {
      ++loaded;
      Exercise(other);
    } else {
      EXPECT_FALSE(r.message().text.empty());
      EXPECT_EQ(other.count, before->count);
      EXPECT_EQ(other.image, before->image);
      ASSERT_EQ(std::memcmp(other.steps.data(), before->steps.data(), sizeof other.steps), 0);
    }
  }
  EXPECT_GT(loaded, 800);  // both paths must really have been taken
  EXPECT_LT(loaded, 2500);
}

}  // namespace
}  // namespace pendra2::flowchart
