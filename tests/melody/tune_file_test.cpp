#include "melody/tune_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "score_helpers.h"
#include "temp_dir.h"

namespace pendra2::melody {
namespace {

using testing::ReadBytes;
using testing::ScoreOf;
using testing::TempDir;
using testing::WriteBytes;

TEST(SaveTune, UntouchedScoreLayout) {
  TempDir dir;
  Score score;
  TuneHeader header{};
  score.modified = true;
  const auto result = SaveTune(score, header, dir.File("a.olg"));
  ASSERT_TRUE(result.ok);
  EXPECT_FALSE(score.modified);
  const auto bytes = ReadBytes(dir.File("a.olg"));
  ASSERT_EQ(bytes.size(), 576u);
  const std::vector<uint8_t> head{'O', 'L', 0x58, 0,   0,   0,   1,   0,
                                  '2', '.', '5',  '3', '.', '6', '0', 0};
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 16), head);
  for (int i = 16; i < 64; ++i) {
    if (i == 24) continue;
    EXPECT_EQ(bytes[i], 0) << i;
  }
  EXPECT_EQ(bytes[24], 2);
  EXPECT_EQ(bytes[25], 0);
  EXPECT_EQ(bytes[64], 'T');
  EXPECT_EQ(bytes[65], 0x50);
  EXPECT_EQ(bytes[66], 24);
  for (std::size_t i = 67; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], 255) << i;
  EXPECT_FALSE(std::filesystem::exists(dir.File("a.olg.saving")));
}

TEST(SaveTune, RoundTripKeepsColumnsTempoAndHeaderPadding) {
  TempDir dir;
  std::vector<uint8_t> file(576, 0);
  file[0] = 'O';
  file[1] = 'L';
  file[2] = 'X';
  file[6] = 4;
  const std::string version = "2.53.60";
  std::copy(version.begin(), version.end(), file.begin() + 8);
  file[20] = 0xAB;  // padding after the version text
  file[40] = 0xCD;  // reserved
  file[24] = 7;
  file[64] = 'T';
  file[65] = 99;  // a tempo byte the table does not give: kept as the file holds it
  file[66] = 1;
  file[67] = 2;
  file[68] = 3;
  file[69] = 24;
  for (std::size_t i = 70; i < 576; ++i) file[i] = 255;
  WriteBytes(dir.File("in.olg"), file);

  Score score = ScoreOf({9});
  score.modified = true;
  TuneHeader header{};
  const auto loaded = LoadTune(score, header, dir.File("in.olg"));
  ASSERT_TRUE(loaded.ok);
  EXPECT_FALSE(score.modified);
  EXPECT_EQ(score.tempoIndex, 7);
  EXPECT_EQ(score.tempoPair[1], 99);
  EXPECT_EQ(score.length, 4);
  EXPECT_EQ(score.cells[2], 3);

  ASSERT_TRUE(SaveTune(score, header, dir.File("out.olg")).ok);
  EXPECT_EQ(ReadBytes(dir.File("out.olg")), file);
}

TEST(SaveTune, FailureToCreateChangesNothing) {
  TempDir dir;
  Score score = ScoreOf({1, 255, 2});
  score.modified = true;
  TuneHeader header{};
  const auto result = SaveTune(score, header, dir.File("missing/folder/a.olg"));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message.text, "Save File Open Error");
  EXPECT_EQ(result.message.caption, "Error Message");
  EXPECT_TRUE(score.modified);
  EXPECT_EQ(score.cells[1], 255);
}

TEST(SaveTune, AFailedWriteLeavesThePreviousFileWhole) {
  TempDir dir;
  const std::string path = dir.File("keep.olg");
  Score score = ScoreOf({5, 6});
  TuneHeader header{};
  ASSERT_TRUE(SaveTune(score, header, path).ok);
  const auto before = ReadBytes(path);
  // A full disk: the temporary file's writes all fail.
  std::filesystem::create_symlink("/dev/full", path + ".saving");
  score.cells[0] = 7;
  score.modified = true;
  const auto result = SaveTune(score, header, path);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message.text, "Save File Open Error");
  EXPECT_TRUE(score.modified);
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_FALSE(std::filesystem::is_symlink(path + ".saving"));
}

TEST(SaveTune, ReplacesAnExistingFile) {
  TempDir dir;
  const std::string path = dir.File("a.olg");
  WriteBytes(path, std::vector<uint8_t>(1000, 7));
  Score score;
  TuneHeader header{};
  ASSERT_TRUE(SaveTune(score, header, path).ok);
  EXPECT_EQ(ReadBytes(path).size(), 576u);
}

TEST(LoadTune, MissingFileChangesNothing) {
  TempDir dir;
  Score score = ScoreOf({3});
  SetTempoIndex(score, 5);
  score.modified = true;
  TuneHeader header{};
  header[30] = 1;
  const auto result = LoadTune(score, header, dir.File("none.olg"));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message.text, "Load File Open Error");
  EXPECT_EQ(result.message.caption, "Error Message");
  EXPECT_EQ(score.cells[0], 3);
  EXPECT_EQ(score.tempoIndex, 5);
  EXPECT_TRUE(score.modified);
  EXPECT_EQ(header[30], 1);
  EXPECT_FALSE(LoadTune(score, header, dir.Path().string()).ok);
}

TEST(LoadTune, OlderLayoutFillsAll512PositionsAndTakesTheTempoFromTheTable) {
  TempDir dir;
  std::vector<uint8_t> file(576, 0);
  file[0] = 'O';
  file[1] = 'L';
  file[2] = 0;
  file[6] = 3;
  file[24] = 4;
  for (int p = 0; p < 512; ++p) file[64 + p] = static_cast<uint8_t>(p % 23);
  WriteBytes(dir.File("old.olg"), file);
  Score score;
  TuneHeader header{};
  const auto result = LoadTune(score, header, dir.File("old.olg"));
  ASSERT_TRUE(result.ok);
  EXPECT_FALSE(result.findings.currentLayout);
  EXPECT_FALSE(result.findings.shortFile);
  EXPECT_EQ(score.cells[0], 0);
  EXPECT_EQ(score.cells[511], 511 % 23);
  EXPECT_EQ(score.tempoIndex, 4);
  EXPECT_EQ(score.tempoPair[0], 'T');
  EXPECT_EQ(score.tempoPair[1], 48);
  EXPECT_EQ(score.length, 3);
}

TEST(LoadTune, ShortFilesLeaveUnreadColumnsEmpty) {
  TempDir dir;
  std::vector<uint8_t> file(100, 0);
  file[0] = 'O';
  file[1] = 'L';
  file[2] = 'X';
  file[24] = 1;
  file[64] = 'T';
  file[65] = 96;
  for (int i = 66; i < 100; ++i) file[i] = 3;
  WriteBytes(dir.File("short.olg"), file);
  Score score = ScoreOf({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                         1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
  TuneHeader header{};
  const auto result = LoadTune(score, header, dir.File("short.olg"));
  ASSERT_TRUE(result.ok);
  EXPECT_TRUE(result.findings.shortFile);
  EXPECT_EQ(result.findings.bytesRead, 100u);
  for (int p = 0; p < 34; ++p) EXPECT_EQ(score.cells[p], 3) << p;
  for (int p = 34; p < 512; ++p) ASSERT_EQ(score.cells[p], kEmpty) << p;

  // Shorter than the header: nothing of an earlier file's header survives.
  header.fill(0x77);
  WriteBytes(dir.File("tiny.olg"), {'O', 'L'});
  ASSERT_TRUE(LoadTune(score, header, dir.File("tiny.olg")).ok);
  EXPECT_EQ(header[24], 0);
  EXPECT_EQ(score.tempoIndex, 0);
  EXPECT_EQ(score.length, 0);
  EXPECT_EQ(score.cells[0], kEmpty);

  WriteBytes(dir.File("empty.olg"), {});
  const auto empty = LoadTune(score, header, dir.File("empty.olg"));
  ASSERT_TRUE(empty.ok);
  EXPECT_TRUE(empty.findings.badMagic);
}

TEST(LoadTune, TempoIndexOutsideTheTableIsTakenAsTheDefault) {
  TempDir dir;
  std::vector<uint8_t> file(576, 255);
  file[0] = 'O';
  file[1] = 'L';
  file[2] = 0;
  file[24] = 13;
  file[25] = 0;
  WriteBytes(dir.File("t.olg"), file);
  Score score;
  TuneHeader header{};
  const auto result = LoadTune(score, header, dir.File("t.olg"));
  ASSERT_TRUE(result.ok);
  EXPECT_TRUE(result.findings.tempoOutOfRange);
  EXPECT_EQ(result.findings.headerTempoIndex, 13);
  EXPECT_EQ(score.tempoIndex, 2);
  EXPECT_EQ(score.tempoPair[1], 0x50);
  EXPECT_EQ(PeriodMs(score), 330);
}

}  // namespace
}  // namespace pendra2::melody
