// Normalise, the board's tune image, .olg files byte by byte and the transfer.

#include "melody/tune_file.h"

#include <gtest/gtest.h>

#include <tuple>

#include "helpers.h"
#include "melody/transfer.h"
#include "melody/tune_image.h"

namespace pendra2::melody {
namespace {

using namespace testing;

TEST(Normalise, RestsEndMarkAndLength) {
  const std::tuple<const char*, int, const char*> cases[] = {
      {"", 1, "24 -"},
      {"4 - - 24 200 7", 7, "4 23 23 23 23 7 24 -"},
      {"3 24 - 24", 2, "3 24 - 24"},  // past the end mark: left as it was
      {"0 l 24 2 L 255 0 24 5", 10, "0 l 24 2 L 255 0 24 5 24"},  // parameters are kept
      {"l 255 4", 4, "l 255 4 24"},
      {"2 109 - 3", 5, "2 23 23 3 24"},  // a stray parameter without its mark
  };
  for (const auto& [in, length, head] : cases) {
    Score score = ScoreOf(in);
    Normalise(score);
    EXPECT_EQ(score.length, length) << in;
    EXPECT_EQ(Head(score, C(head).size()), C(head)) << in;
  }
  Score last;
  last.cells[510] = 5;
  last.cells[511] = 9;
  Normalise(last);
  EXPECT_EQ(last.length, 512);
  EXPECT_EQ(last.cells[511], kEndMark);
  EXPECT_EQ(last.cells[0], kRest);
}

TEST(Tempo, AChosenTempoThatDiffersIsAChangeToSave) {
  Score score;
  EXPECT_TRUE(ChooseTempo(score, kDefaultTempoIndex));
  EXPECT_FALSE(score.modified);
  EXPECT_TRUE(ChooseTempo(score, 5));
  EXPECT_TRUE(score.modified);
  EXPECT_EQ(score.tempoPair[1], 40);
  score.modified = false;
  EXPECT_FALSE(ChooseTempo(score, kTempoCount));
  EXPECT_EQ(std::tuple(score.tempoIndex, score.modified), std::tuple(5, false));
}

TEST(TuneImage, LayoutAndTheLongestTuneThatFits) {
  Score score = ScoreOf("0 4 7 12 23 22");
  SetTempoIndex(score, 6);
  score.tempoPair[1] = 99;  // as a loaded file might hold it: the tempo row wins
  Normalise(score);
  ASSERT_TRUE(FitsTuneImage(score));
  auto image = TuneImage(score);
  EXPECT_EQ(Cols(image.begin(), image.begin() + 10), C("84 30 0 4 7 12 23 22 24 69"));
  EXPECT_EQ(Cols(image.begin() + 10, image.end()), Cols(502, 255));
  EXPECT_EQ(score.cells[7], kEmpty);  // the score itself does not take the terminator

  score.cells[507] = 3;
  Normalise(score);
  ASSERT_TRUE(FitsTuneImage(score));
  image = TuneImage(score);
  EXPECT_EQ(image[510], kEndMark);
  EXPECT_EQ(image[511], 'E');
  for (int last : {508, 510}) {
    score.cells[static_cast<std::size_t>(last)] = 3;
    Normalise(score);
    EXPECT_FALSE(FitsTuneImage(score));
    TuneImage(score);  // never writes outside the image
  }
}

class TuneFiles : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  LoadResult Load(const Bytes& bytes) {
    WriteBytes(dir / "in.olg", bytes);
    return LoadTune(score, header, Path("in.olg"));
  }
  TempDir dir;
  Score score;
  TuneHeader header{};
};

TEST_F(TuneFiles, SaveReplacesAnOlderFileRoundTripKeepsTempoByteAndHeaderPadding) {
  WriteBytes(dir / "a.olg", Bytes(1000, 7));
  score.modified = true;
  ASSERT_TRUE(SaveTune(score, header, Path("a.olg")).ok());
  EXPECT_FALSE(score.modified);
  EXPECT_EQ(ReadBytes(dir / "a.olg"), TuneFile({}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}),
            1);  // nothing beside

  Bytes file = TuneFile({1, 2, 3}, 7, 99);  // 99: of no tempo row
  file[20] = 0xAB;                          // padding after the version text
  file[40] = 0xCD;                          // reserved
  score = ScoreOf("9");
  score.modified = true;
  ASSERT_TRUE(Load(file).ok);
  EXPECT_FALSE(score.modified);
  EXPECT_EQ(std::tuple(score.tempoIndex, int{score.tempoPair[1]}, score.length),
            std::tuple(7, 99, 4));
  EXPECT_EQ(Head(score, 5), C("1 2 3 24 -"));
  ASSERT_TRUE(SaveTune(score, header, Path("out.olg")).ok());
  EXPECT_EQ(ReadBytes(dir / "out.olg"), file);
}

TEST_F(TuneFiles, FailedSavesAndLoadsChangeNothingTheScoreStaysMarkedChanged) {
  const std::string path = Path("keep.olg");
  ASSERT_TRUE(SaveTune(score, header, path).ok());
  const auto before = ReadBytes(path);
  // A link someone left where the previous saver put its temporary file is not written through.
  WriteBytes(dir / "victim", Bytes{1, 2, 3});
  std::filesystem::create_symlink(dir / "victim", path + ".saving");
  std::filesystem::create_directory(dir / "folder.olg");
  score = ScoreOf("7 - 6");
  score.modified = true;
  for (const std::string& target : {Path("missing/folder/a.olg"), Path("folder.olg")}) {
    const auto result = SaveTune(score, header, target);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(Said(result.message()), "Error Message: Save File Open Error");
    EXPECT_TRUE(score.modified);
    EXPECT_EQ(score.cells[1], kEmpty);  // not even tidied
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir / "folder.olg"));
  EXPECT_EQ(ReadBytes(path), before);
  ASSERT_TRUE(SaveTune(score, header, path).ok());
  EXPECT_EQ(ReadBytes(dir / "victim"), (Bytes{1, 2, 3}));
  EXPECT_TRUE(std::filesystem::is_symlink(path + ".saving"));
  score.modified = true;

  SetTempoIndex(score, 5);
  header[30] = 1;
  for (const std::string& missing : {Path("none.olg"), Path("")}) {  // a file, a folder
    const auto result = LoadTune(score, header, missing);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(Said(result.message), "Error Message: Load File Open Error");
  }
  EXPECT_EQ(std::tuple(int{score.cells[0]}, score.tempoIndex, score.modified, int{header[30]}),
            std::tuple(7, 5, true, 1));
}

// The older layout has no tempo pair and 512 positions; a short file leaves what it does not
// hold empty, never what an earlier file held.
TEST_F(TuneFiles, OlderLayoutShortFilesAndTempoOutsideTheTable) {
  Cols columns;
  for (int p = 0; p < 512; ++p) columns.push_back(p % 23);
  Bytes file = TuneFile({}, 4);
  file[2] = 0;
  file[6] = 3;
  std::copy(columns.begin(), columns.end(), file.begin() + 64);
  auto result = Load(file);
  ASSERT_TRUE(result.ok);
  EXPECT_FALSE(result.findings.currentLayout || result.findings.shortFile);
  EXPECT_EQ(Head(score, 512), columns);
  EXPECT_EQ(std::tuple(score.tempoIndex, score.tempoPair[0], score.tempoPair[1], score.length),
            std::tuple(4, 'T', 48, 3));

  file[24] = 13;
  file.resize(100);
  result = Load(file);
  EXPECT_TRUE(result.ok && result.findings.tempoOutOfRange && result.findings.shortFile);
  EXPECT_EQ(std::tuple(result.findings.headerTempoIndex, result.findings.bytesRead),
            std::tuple(13, std::size_t{100}));
  EXPECT_EQ(std::tuple(score.tempoIndex, score.tempoPair[1]), std::tuple(2, 0x50));
  for (int p = 0; p < 512; ++p) ASSERT_EQ(score.cells[p], p < 36 ? p % 23 : kEmpty) << p;

  header.fill(0x77);  // shorter than the header: nothing of an earlier file survives
  ASSERT_TRUE(Load({'O', 'L', 'X'}).ok);
  EXPECT_EQ(std::tuple(int{header[24]}, score.tempoIndex, score.length, int{score.cells[0]}),
            std::tuple(0, 0, 0, 255));
  const auto empty = Load({});
  EXPECT_TRUE(empty.ok && empty.findings.badMagic);
}

struct RecordingWriter : interaction::BoardImageWriter {
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
  EXPECT_EQ(result.step, TransferStep::kSent);
  EXPECT_TRUE(result.outcome.ok());
  ASSERT_EQ(writer.images.size(), 1u);
  EXPECT_EQ(Cols(writer.images[0].begin(), writer.images[0].begin() + 8),
            C("84 80 1 23 3 24 69 -"));
  EXPECT_EQ(std::tuple(writer.stateDuringWrite, playback.playState),
            std::tuple(int{kTransferring}, int{kIdle}));
  EXPECT_EQ(score.cells[4], kEmpty);

  writer.succeed = false;
  result = Transfer(score, playback, 0, writer);
  EXPECT_TRUE(result.step == TransferStep::kFailed && !result.outcome.ok());
  EXPECT_EQ(playback.playState, kIdle);

  writer.images.clear();
  playback.playState = kPlaying;
  result = Transfer(score, playback, 0, writer);
  EXPECT_EQ(result.step, TransferStep::kNotNow);
  EXPECT_EQ(Said(result.outcome.message()),
            "注意！！: データを転送する場合は演奏を停止してください。");
  playback.playState = kIdle;
  EXPECT_EQ(Transfer(score, playback, 2, writer).step, TransferStep::kNotNow);
  score.cells[508] = 2;
  result = Transfer(score, playback, 0, writer);
  EXPECT_EQ(result.step, TransferStep::kTooLarge);
  EXPECT_EQ(
      Said(result.outcome.message()),
      "注意！！: 曲が長すぎるため、マイコンに転送できません。\n転送できるのは508列目までです。");
  EXPECT_EQ(playback.playState, kIdle);
  EXPECT_TRUE(writer.images.empty());
}

}  // namespace
}  // namespace pendra2::melody
