#include "melody/transfer.h"

#include <gtest/gtest.h>

#include <vector>

#include "score_helpers.h"

namespace pendra2::melody {
namespace {

using testing::ScoreOf;

class RecordingWriter : public ImageWriter {
 public:
  bool WriteImage(std::span<const uint8_t, 512> image) override {
    images.emplace_back(image.begin(), image.end());
    stateDuringWrite = playback ? playback->playState : -1;
    return succeed;
  }
  std::vector<std::vector<uint8_t>> images;
  const PlaybackState* playback = nullptr;
  int stateDuringWrite = -1;
  bool succeed = true;
};

TEST(Transfer, SendsTheNormalisedImageAndMarksTheTransferUnderWay) {
  Score score = ScoreOf({1, 255, 3});
  PlaybackState playback;
  RecordingWriter writer;
  writer.playback = &playback;
  const auto result = Transfer(score, playback, 0, writer);
  EXPECT_EQ(result.outcome, TransferOutcome::kSent);
  EXPECT_FALSE(result.message);
  ASSERT_EQ(writer.images.size(), 1u);
  EXPECT_EQ(writer.stateDuringWrite, kTransferring);
  EXPECT_EQ(playback.playState, kIdle);
  const auto& image = writer.images[0];
  EXPECT_EQ((std::vector<int>(image.begin(), image.begin() + 7)),
            (std::vector<int>{'T', 0x50, 1, 23, 3, 24, 'E'}));
  EXPECT_EQ(score.cells[4], kEmpty);
}

TEST(Transfer, RefusedWhilePlayingOrEditing) {
  Score score;
  PlaybackState playback;
  RecordingWriter writer;
  playback.playState = kPlaying;
  auto result = Transfer(score, playback, 0, writer);
  EXPECT_EQ(result.outcome, TransferOutcome::kRefused);
  ASSERT_TRUE(result.message);
  EXPECT_EQ(result.message->text, "データを転送する場合は演奏を停止してください。");
  EXPECT_EQ(result.message->caption, "注意！！");
  playback.playState = kIdle;
  EXPECT_EQ(Transfer(score, playback, 2, writer).outcome, TransferOutcome::kRefused);
  EXPECT_TRUE(writer.images.empty());
}

TEST(Transfer, TuneTooLongForTheImageIsRefused) {
  Score score;
  score.cells[508] = 2;
  PlaybackState playback;
  RecordingWriter writer;
  const auto result = Transfer(score, playback, 0, writer);
  EXPECT_EQ(result.outcome, TransferOutcome::kTooLong);
  ASSERT_TRUE(result.message);
  EXPECT_TRUE(writer.images.empty());
  EXPECT_EQ(playback.playState, kIdle);
}

TEST(Transfer, AFailedWriteIsReported) {
  Score score;
  PlaybackState playback;
  RecordingWriter writer;
  writer.succeed = false;
  const auto result = Transfer(score, playback, 0, writer);
  EXPECT_EQ(result.outcome, TransferOutcome::kFailed);
  ASSERT_TRUE(result.message);
  EXPECT_EQ(playback.playState, kIdle);
}

}  // namespace
}  // namespace pendra2::melody
