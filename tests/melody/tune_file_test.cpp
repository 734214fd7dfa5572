#include "melody/tune_file.h"

#include <gtest/gtest.h>

#include "helpers.h"
#include "melody/transfer.h"

namespace pendra2::melody {
namespace {

using namespace testing;

Bytes WithVersion(Bytes file, int length) {
  const std::string_view version = "2.53.60";
  std::copy(version.begin(), version.end(), file.begin() + 8);
  file[6] = static_cast<uint8_t>(length);
  return file;
}

class TuneFiles : public ::testing::Test {
 protected:
  LoadResult Load(const Bytes& bytes) {
    WriteBytes(dir.File("in.olg"), bytes);
    return LoadTune(score, header, dir.File("in.olg"));
  }
  TempDir dir;
  Score score;
  TuneHeader header{};
};

TEST_F(TuneFiles, SaveOfAnUntouchedScoreReplacesAnOlderFile) {
  WriteBytes(dir.File("a.olg"), Bytes(1000, 7));
  score.modified = true;
  ASSERT_TRUE(SaveTune(score, header, dir.File("a.olg")).ok);
  EXPECT_FALSE(score.modified);
  EXPECT_EQ(ReadBytes(dir.File("a.olg")), WithVersion(TuneBytes('X', 2, C("84 80 24")), 1));
  EXPECT_FALSE(std::filesystem::exists(dir.File("a.olg.saving")));
}

TEST_F(TuneFiles, RoundTripKeepsColumnsTempoByteAndHeaderPadding) {
  Bytes file = WithVersion(TuneBytes('X', 7, C("84 99 1 2 3 24")), 4);  // 99: of no tempo row
  file[20] = 0xAB;  // padding after the version text
  file[40] = 0xCD;  // reserved
  score = ScoreOf("9");
  score.modified = true;
  ASSERT_TRUE(Load(file).ok);
  EXPECT_FALSE(score.modified);
  EXPECT_EQ(std::tuple(score.tempoIndex, int{score.tempoPair[1]}, score.length),
            std::tuple(7, 99, 4));
  EXPECT_EQ(Head(score, 5), C("1 2 3 24 -"));
  ASSERT_TRUE(SaveTune(score, header, dir.File("out.olg")).ok);
  EXPECT_EQ(ReadBytes(dir.File("out.olg")), file);
}

TEST_F(TuneFiles, FailedSavesKeepTheScoreMarkedChangedAndThePreviousFileWhole) {
  const std::string path = dir.File("keep.olg");
  ASSERT_TRUE(SaveTune(score, header, path).ok);
  const auto before = ReadBytes(path);
  std::filesystem::create_symlink("/dev/full", path + ".saving");  // every write fails
  score = ScoreOf("7 - 6");
  score.modified = true;
  for (const std::string& target : {dir.File("missing/folder/a.olg"), path}) {
    const auto result = SaveTune(score, header, target);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message.text, "Save File Open Error");
    EXPECT_EQ(result.message.caption, "Error Message");
    EXPECT_TRUE(score.modified);
    EXPECT_TRUE(target == path || score.cells[1] == kEmpty);  // not even cleaned
  }
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_FALSE(std::filesystem::is_symlink(path + ".saving"));
}

TEST_F(TuneFiles, LoadingAMissingFileOrAFolderChangesNothing) {
  score = ScoreOf("3");
  SetTempoIndex(score, 5);
  score.modified = true;
  header[30] = 1;
  for (const std::string& path : {dir.File("none.olg"), dir.File("")}) {
    const auto result = LoadTune(score, header, path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message.text, "Load File Open Error");
    EXPECT_EQ(result.message.caption, "Error Message");
  }
  EXPECT_EQ(std::tuple(int{score.cells[0]}, score.tempoIndex, score.modified, int{header[30]}),
            std::tuple(3, 5, true, 1));
}

TEST_F(TuneFiles, OlderLayoutFillsAll512PositionsTempoOutsideTheTableIsTheDefault) {
  Cols columns;
  for (int p = 0; p < 512; ++p) columns.push_back(p % 23);
  Bytes file = TuneBytes(0, 4, columns);
  file[6] = 3;
  auto result = Load(file);
  ASSERT_TRUE(result.ok);
  EXPECT_FALSE(result.findings.currentLayout || result.findings.shortFile);
  EXPECT_EQ(Head(score, 512), columns);
  EXPECT_EQ(std::tuple(score.tempoIndex, score.tempoPair[0], score.tempoPair[1], score.length),
            std::tuple(4, 'T', 48, 3));

  result = Load(TuneBytes(0, 13, {}));
  EXPECT_TRUE(result.ok && result.findings.tempoOutOfRange);
  EXPECT_EQ(result.findings.headerTempoIndex, 13);
  EXPECT_EQ(std::tuple(score.tempoIndex, score.tempoPair[1]), std::tuple(2, 0x50));
}

TEST_F(TuneFiles, ShortFilesLeaveUnreadColumnsAndHeaderEmpty) {
  Bytes file = TuneBytes('X', 1, C("84 96"));
  std::fill(file.begin() + 66, file.end(), 3);
  file.resize(100);
  std::fill_n(score.cells.begin(), 40, 1);
  const auto result = Load(file);
  EXPECT_TRUE(result.ok && result.findings.shortFile);
  EXPECT_EQ(result.findings.bytesRead, 100u);
  for (int p = 0; p < 512; ++p) ASSERT_EQ(score.cells[p], p < 34 ? 3 : kEmpty) << p;

  header.fill(0x77);  // shorter than the header: nothing of an earlier file survives
  ASSERT_TRUE(Load({'O', 'L'}).ok);
  EXPECT_EQ(std::tuple(int{header[24]}, score.tempoIndex, score.length, int{score.cells[0]}),
            std::tuple(0, 0, 0, 255));
  const auto empty = Load({});
  EXPECT_TRUE(empty.ok && empty.findings.badMagic);
}

struct RecordingWriter : ImageWriter {
  bool WriteImage(std::span<const uint8_t, 512> image) override {
    images.emplace_back(image.begin(), image.end());
    stateDuringWrite = playback->playState;
    return succeed;
  }
  std::vector<Cols> images;
  const PlaybackState* playback = nullptr;
  int stateDuringWrite = -1;
  bool succeed = true;
};

TEST(Transfer, SendsTheNormalisedImageOrRefusesWithAMessage) {
  Score score = ScoreOf("1 - 3");
  PlaybackState playback;
  RecordingWriter writer;
  writer.playback = &playback;
  auto result = Transfer(score, playback, 0, writer);
  EXPECT_EQ(result.outcome, TransferOutcome::kSent);
  EXPECT_FALSE(result.message);
  ASSERT_EQ(writer.images.size(), 1u);
  EXPECT_EQ(Cols(writer.images[0].begin(), writer.images[0].begin() + 8),
            C("84 80 1 23 3 24 69 -"));
  EXPECT_EQ(std::tuple(writer.stateDuringWrite, playback.playState),
            std::tuple(int{kTransferring}, int{kIdle}));
  EXPECT_EQ(score.cells[4], kEmpty);

  writer.succeed = false;
  result = Transfer(score, playback, 0, writer);
  EXPECT_TRUE(result.outcome == TransferOutcome::kFailed && result.message);
  EXPECT_EQ(playback.playState, kIdle);

  writer.images.clear();
  playback.playState = kPlaying;
  result = Transfer(score, playback, 0, writer);
  EXPECT_EQ(result.outcome, TransferOutcome::kRefused);
  ASSERT_TRUE(result.message);
  EXPECT_EQ(result.message->text, "データを転送する場合は演奏を停止してください。");
  EXPECT_EQ(result.message->caption, "注意！！");
  playback.playState = kIdle;
  EXPECT_EQ(Transfer(score, playback, 2, writer).outcome, TransferOutcome::kRefused);
  score.cells[508] = 2;
  result = Transfer(score, playback, 0, writer);
  EXPECT_TRUE(result.outcome == TransferOutcome::kTooLong && result.message);
  EXPECT_EQ(playback.playState, kIdle);
  EXPECT_TRUE(writer.images.empty());
}

}  // namespace
}  // namespace pendra2::melody
