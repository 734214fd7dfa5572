#include "melody/tune_image.h"

#include <gtest/gtest.h>

#include "score_helpers.h"

namespace pendra2::melody {
namespace {

using testing::ScoreOf;

TEST(TuneImage, SixColumnsEndMarkAndTerminator) {
  Score score = ScoreOf({0, 4, 7, 12, 23, 22});
  SetTempoIndex(score, 6);
  Normalise(score);
  ASSERT_EQ(score.length, 7);
  const auto image = TuneImage(score);
  EXPECT_EQ(image[0], 'T');
  EXPECT_EQ(image[1], 30);
  const std::vector<int> body{0, 4, 7, 12, 23, 22, 24};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(image[2 + i], body[i]);
  EXPECT_EQ(image[9], 'E');
  for (std::size_t i = 10; i < image.size(); ++i) ASSERT_EQ(image[i], 255) << i;
  // The score itself does not take the terminator.
  EXPECT_EQ(score.cells[7], kEmpty);
  EXPECT_TRUE(FitsTuneImage(score));
}

TEST(TuneImage, TempoByteComesFromTheTempoRow) {
  Score score;
  SetTempoIndex(score, 3);
  score.tempoPair[1] = 99;  // as a loaded file might hold it
  Normalise(score);
  EXPECT_EQ(TuneImage(score)[1], 61);
}

TEST(TuneImage, LongestTuneThatFitsAndTheFirstThatDoesNot) {
  Score score;
  score.cells[507] = 3;
  Normalise(score);
  ASSERT_TRUE(FitsTuneImage(score));
  const auto image = TuneImage(score);
  EXPECT_EQ(image[510], kEndMark);
  EXPECT_EQ(image[511], 'E');

  score.cells[508] = 3;
  Normalise(score);
  EXPECT_FALSE(FitsTuneImage(score));
  score.cells[510] = 3;
  Normalise(score);
  EXPECT_FALSE(FitsTuneImage(score));
  TuneImage(score);  // never writes outside the image
}

}  // namespace
}  // namespace pendra2::melody
