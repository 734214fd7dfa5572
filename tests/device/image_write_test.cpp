#include <gtest/gtest.h>

#include "device/board.h"
#include "support/fake_transport.h"

namespace pendra2::device {
namespace {

using test::FakeCall;
using test::FakeTransport;

// `used` program bytes, an end mark, and the rest padded with 0xFF.
Image Pattern(std::size_t used) {
  Image image{};
  image.fill(0xFF);
  for (std::size_t i = 0; i < used; ++i) image[i] = static_cast<uint8_t>(i * 7 + 1);
  if (used < image.size()) image[used] = 'E';
  return image;
}

class Transfer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(board.FindBoard(), kBoardFound);
    fake.ClearCalls();
  }
  FakeTransport fake;
  std::shared_ptr<virtual_board::BoardModel> model = fake.AddBoard("b");
  Board board{fake, 20};
  std::vector<int> progress;
  BlockProgress record = [this](int b) { progress.push_back(b); };
};
class ImageWrite : public Transfer, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(ImageWrite, NineRequestsEachWaitingForTheReplyBeforeIt) {
  const Image image = Pattern(GetParam());
  ASSERT_TRUE(board.WriteImage(image, record));
  EXPECT_EQ(progress, (std::vector{0, 1, 2, 3, 4, 5, 6, 7}));
  const auto& calls = fake.calls();
  ASSERT_EQ(calls.size(), 18u);
  for (std::size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].kind, i % 2 == 0 ? FakeCall::Write : FakeCall::Read) << i;
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

TEST_F(Transfer, SilentOrUnpluggedBoardFailsTheTransferAtTheFirstMissingReply) {
  fake.silent = true;
  EXPECT_FALSE(board.WriteImage(Pattern(10), record));
  EXPECT_TRUE(progress.empty());
  EXPECT_EQ(fake.CountCalls(FakeCall::Write), 1);

  fake.silent = false;
  record = [this](int b) {
    progress.push_back(b);
    if (b == 3) fake.Unplug("b");
  };
  EXPECT_FALSE(board.WriteImage(Pattern(10), record));
  EXPECT_EQ(progress.size(), 4u);

  EXPECT_EQ(board.FindBoard(), kNoBoard);
  fake.ClearCalls();
  EXPECT_FALSE(board.WriteImage(Pattern(10), nullptr));
  EXPECT_EQ(fake.CountCalls(FakeCall::Write), 0);
}

}  // namespace
}  // namespace pendra2::device
