#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "device/board.h"
#include "device/reply_timeout.h"
#include "support/fake_transport.h"

namespace pendra2::device {
namespace {

using test::FakeCall;
using test::FakeTransport;

class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    model = fake.AddBoard("b");
    ASSERT_EQ(board.FindBoard(), kBoardFound);
    fake.ClearCalls();
  }
  FakeTransport fake;
  std::shared_ptr<virtual_board::BoardModel> model;
  Board board{fake, 75};
  std::vector<int> progress;
  BlockProgress record = [this](int b) { progress.push_back(b); };
};

TEST_F(Commands, EachRequestCarriesItsLetterAndArgumentAndReadsOneReplyIfItHasOne) {
  const struct {
    bool (*send)(Board&);
    uint8_t letter, arg;
    bool readsReply;
  } cases[] = {
      {[](Board& b) { return b.InfoQuery(); }, 'C', 0, true},
      {[](Board& b) { return b.AutoMode(AutoModeArg::Query); }, 'T', 2, true},
      {[](Board& b) { return b.AutoMode(AutoModeArg::On); }, 'T', 1, true},
      {[](Board& b) { return b.AutoMode(AutoModeArg::Off); }, 'T', 0, true},
      {[](Board& b) { return b.Run(); }, 'R', 0, false},
      {[](Board& b) { return b.Stop(); }, 'E', 0, false},
      {[](Board& b) { return b.ReadInput(1); }, 'A', 0, true},
      {[](Board& b) { return b.ReadInput(2); }, 'a', 0, true},
      {[](Board& b) { return b.ReadInput(3); }, 'z', 0, true},
      {[](Board& b) { return b.PlayNote(23); }, 'P', 23, false},
      {[](Board& b) { return b.BeginImageWrite(); }, 'S', 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.letter);
    fake.ClearCalls();
    EXPECT_TRUE(c.send(board));
    const auto writes = fake.Writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(std::vector(writes[0].begin(), writes[0].begin() + 3),
              (std::vector<uint8_t>{0, c.letter, c.arg}));
    EXPECT_EQ(fake.CountCalls(FakeCall::Read), c.readsReply ? 1 : 0);
    EXPECT_EQ(fake.calls().back().timeoutMs, c.readsReply ? 75 : 0);  // the configured wait
  }
}

TEST_F(Commands, InputReadingIsLittleEndianAndOnlyItsOwnAnswerReplacesIt) {
  model->SetInput(0, 0x0102);
  model->SetInput(1, 0xFFFF);
  ASSERT_TRUE(board.ReadInput(1));
  EXPECT_EQ(board.InputReading(), 258);
  ASSERT_TRUE(board.ReadInput(2));
  EXPECT_EQ(board.InputReading(), 65535);
  EXPECT_FALSE(board.ReadInput(4));

  fake.lateReads = 1;
  EXPECT_FALSE(board.ReadInput(1));  // input 1's reading arrives after the wait
  EXPECT_EQ(board.InputReading(), 65535);
  ASSERT_TRUE(board.ReadInput(2));  // and is not taken for input 2's
  EXPECT_EQ(board.InputReading(), 65535);
  fake.ClearCalls();
  ASSERT_TRUE(board.ReadInput(1));
  EXPECT_EQ(board.InputReading(), 258);
  EXPECT_EQ(fake.CountCalls(FakeCall::Read), 1);  // back to one read per exchange

  fake.silent = true;
  EXPECT_FALSE(board.ReadInput(2));
  EXPECT_EQ(board.InputReading(), 258);
  fake.silent = false;
  fake.Unplug("b");
  EXPECT_FALSE(board.ReadInput(2));
  EXPECT_EQ(board.InputReading(), 258);
  EXPECT_FALSE(board.Run());
  EXPECT_TRUE(board.found());  // until the next discovery
}

TEST_F(Commands, ImageWriteIsNineRequestsEachWaitingForTheReplyBeforeIt) {
  Image image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + 1);
  image[64] = 'C';  // blocks that start like a command are image data all the same
  image[128] = 'S';
  ASSERT_TRUE(board.WriteImage(image, record));
  EXPECT_EQ(progress, (std::vector{0, 1, 2, 3, 4, 5, 6, 7}));
  const auto& calls = fake.calls();
  ASSERT_EQ(calls.size(), 18u);
  for (std::size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].kind, i % 2 == 0 ? FakeCall::Write : FakeCall::Read) << i;
  }
  const auto writes = fake.Writes();
  EXPECT_EQ(writes[0][1], 'S');
  for (std::size_t b = 1; b < writes.size(); ++b) EXPECT_EQ(writes[b][0], 0);
  // The board takes bytes 1..64 of the eight blocks after 'S', in order, as the image.
  EXPECT_EQ(model->image(), image);
  EXPECT_EQ(model->imagesWritten(), 1);

  // The board is back to commands; a request leaves the bytes it does not define as the
  // last request left them: bytes 3..64 still hold image bytes 450..511.
  ASSERT_TRUE(board.InfoQuery());
  EXPECT_EQ(board.Info().version, "V3.00.00");
  const Report sent = fake.Writes().back();
  for (std::size_t i = 3; i < kReportBytes; ++i) EXPECT_EQ(sent[i], image[448 + i - 1]);
}

TEST_F(Commands, SilentOrUnpluggedBoardFailsTheTransferAtTheFirstMissingReplyAndSaysWhy) {
  const auto why = [this] { return std::pair(board.lastError().reason, board.lastError().detail); };
  fake.silent = true;
  EXPECT_FALSE(board.WriteImage(Image{}, record));
  EXPECT_TRUE(progress.empty());
  EXPECT_EQ(fake.CountCalls(FakeCall::Write), 1);
  EXPECT_EQ(why(), std::pair(LinkFailure::kNoAnswer, std::string()));

  fake.silent = false;
  record = [this](int b) {
    progress.push_back(b);
    if (b == 3) fake.Unplug("b");
  };
  EXPECT_TRUE(board.InfoQuery());
  EXPECT_TRUE(board.lastError().ok());
  EXPECT_FALSE(board.WriteImage(Image{}, record));
  EXPECT_EQ(progress.size(), 4u);
  // The platform's own words come along.
  EXPECT_EQ(why(),
            std::pair(LinkFailure::kWriteFailed, std::string(FakeTransport::kUnpluggedText)));
  EXPECT_EQ(Describe(board.lastError()),
            std::string("the request could not be sent to the board (") +
                FakeTransport::kUnpluggedText + ")");

  EXPECT_EQ(board.FindBoard(), kNoBoard);
  fake.ClearCalls();
  EXPECT_FALSE(board.WriteImage(Image{}, nullptr));
  EXPECT_EQ(fake.CountCalls(FakeCall::Write), 0);
  EXPECT_EQ(board.lastError().reason, LinkFailure::kNoBoard);
}

TEST(BoardInfo, FieldsAreTakenAtTheirOffsetsAndLengths) {
  ReplyReport reply{};
  const std::string text = "xOK------V4.01.23--20261205--12345-----";
  std::copy(text.begin(), text.end(), reply.begin());
  const BoardInfo info = ParseBoardInfo(reply);
  EXPECT_EQ(info.testStatus + "|" + info.version + "|" + info.releaseDate + "|" + info.buildNumber,
            "OK|V4.01.23|20261205|12345");
  EXPECT_EQ(info.generation, '4');
}

TEST(Generation, TheLauncherTakesOnlyTheCurrentGeneration) {
  EXPECT_TRUE(GenerationIsCurrent('3'));
  EXPECT_FALSE(GenerationIsCurrent('4'));  // the transfer takes it; Stepcraft is not for it
  EXPECT_FALSE(GenerationIsCurrent('2'));
}

TEST(ReplyTimeout, EnvironmentValueOrTwoSeconds) {
  EXPECT_EQ(ParseReplyTimeout(nullptr), 2000);
  EXPECT_EQ(ParseReplyTimeout("150"), 150);
  for (const char* bad : {"", "12ms", "0", "-5", "99999999999"})
    EXPECT_EQ(ParseReplyTimeout(bad), 2000) << bad;
}

}  // namespace
}  // namespace pendra2::device
