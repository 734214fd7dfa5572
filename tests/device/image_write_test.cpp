#include <gtest/gtest.h>

#include "device/board.h"
#include "support/fake_transport.h"

namespace pendra2::device {
namespace {

using test::FakeCall;
using test::FakeTransport;

Image Pattern(std::size_t used) {
  Image image{};
  image.fill(0xFF);
  for (std::size_t i = 0; i < used; ++i) image[i] = static_cast<uint8_t>(i * 7 + 1);
  if (used < image.size()) image[used] = 'E';
  return image;
}

class ImageWrite : public ::testing::TestWithParam<std::size_t> {
 protected:
  FakeTransport fake;
  std::shared_ptr<virtual_board::BoardModel> model = fake.AddBoard("b");
  Board board{fake, 50};
};

TEST_P(ImageWrite, NineRequestsNineRepliesWhateverTheLength) {
  ASSERT_EQ(board.FindBoard(), kBoardFound);
  fake.ClearCalls();
  const Image image = Pattern(GetParam());
  std::vector<int> progress;
  ASSERT_TRUE(board.WriteImage(image, [&](int b) { progress.push_back(b); }));

  EXPECT_EQ(fake.CountCalls(FakeCall::Write), 9);
  EXPECT_EQ(fake.CountCalls(FakeCall::Read), 9);
  EXPECT_EQ(progress, (std::vector{0, 1, 2, 3, 4, 5, 6, 7}));
  // Strictly alternating: each block waits for the answer to the report before it.
  const auto& calls = fake.calls();
  for (std::size_t i = 0; i + 1 < calls.size(); i += 2) {
    EXPECT_EQ(calls[i].kind, FakeCall::Write);
    EXPECT_EQ(calls[i + 1].kind, FakeCall::Read);
  }
  const auto writes = fake.Writes();
  EXPECT_EQ(writes[0][1], 'S');
  EXPECT_EQ(writes[0][2], 0);
  for (std::size_t b = 0; b < 8; ++b) {
    EXPECT_EQ(writes[b + 1][0], 0);
    for (std::size_t i = 0; i < 64; ++i) ASSERT_EQ(writes[b + 1][1 + i], image[b * 64 + i]);
  }
  EXPECT_EQ(model->image(), image);
  EXPECT_EQ(model->imagesWritten(), 1);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ImageWrite, ::testing::Values(0u, 1u, 63u, 64u, 300u, 511u));

TEST(ImageWriteFailure, SilentBoardFailsTheTransferAtTheFirstMissingReply) {
  FakeTransport fake;
  fake.AddBoard("b");
  Board board(fake, 20);
  ASSERT_EQ(board.FindBoard(), kBoardFound);
  fake.silent = true;
  fake.ClearCalls();
  int blocks = 0;
  EXPECT_FALSE(board.WriteImage(Pattern(10), [&](int) { ++blocks; }));
  EXPECT_EQ(blocks, 0);
  EXPECT_EQ(fake.CountCalls(FakeCall::Write), 1);
}

TEST(ImageWriteFailure, UnpluggedMidwayReportsFailure) {
  FakeTransport fake;
  fake.AddBoard("b");
  Board board(fake, 20);
  ASSERT_EQ(board.FindBoard(), kBoardFound);
  int blocks = 0;
  EXPECT_FALSE(board.WriteImage(Pattern(10), [&](int b) {
    ++blocks;
    if (b == 3) fake.Unplug("b");
  }));
  EXPECT_EQ(blocks, 4);
}

TEST(ImageWriteFailure, NoBoardSendsNothing) {
  FakeTransport fake;
  Board board(fake, 20);
  EXPECT_EQ(board.FindBoard(), kNoBoard);
  EXPECT_FALSE(board.WriteImage(Pattern(10), nullptr));
  EXPECT_EQ(fake.CountCalls(FakeCall::Write), 0);
}

}  // namespace
}  // namespace pendra2::device
