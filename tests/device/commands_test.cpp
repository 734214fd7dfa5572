#include <gtest/gtest.h>

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
  Report LastWrite() const { return fake.Writes().back(); }

  FakeTransport fake;
  std::shared_ptr<virtual_board::BoardModel> model;
  Board board{fake, 75};
};

TEST_F(Commands, EachRequestCarriesItsLetterAndArgument) {
  struct Case {
    bool (*send)(Board&);
    uint8_t letter;
    uint8_t arg;
    bool readsReply;
  };
  const Case cases[] = {
      {[](Board& b) { return b.InfoQuery(); }, 'C', 0, true},
      {[](Board& b) { return b.AutoMode(AutoModeArg::Query); }, 'T', 2, true},
      {[](Board& b) { return b.AutoMode(AutoModeArg::On); }, 'T', 1, true},
      {[](Board& b) { return b.AutoMode(AutoModeArg::Off); }, 'T', 0, true},
      {[](Board& b) { return b.Run(); }, 'R', 0, false},
      {[](Board& b) { return b.Stop(); }, 'E', 0, false},
      {[](Board& b) { return b.BeginImageWrite(); }, 'S', 0, true},
      {[](Board& b) { return b.ReadInput(1); }, 'A', 0, true},
      {[](Board& b) { return b.ReadInput(2); }, 'a', 0, true},
      {[](Board& b) { return b.ReadInput(3); }, 'z', 0, true},
      {[](Board& b) { return b.PlayNote(23); }, 'P', 23, false},
      {[](Board& b) { return b.PlayNote(0); }, 'P', 0, false},
  };
  for (const auto& c : cases) {
    fake.ClearCalls();
    EXPECT_TRUE(c.send(board)) << c.letter;
    ASSERT_EQ(fake.CountCalls(FakeCall::Write), 1) << c.letter;
    EXPECT_EQ(fake.CountCalls(FakeCall::Read), c.readsReply ? 1 : 0) << c.letter;
    const Report sent = LastWrite();
    EXPECT_EQ(sent[0], 0);
    EXPECT_EQ(sent[1], c.letter);
    EXPECT_EQ(sent[2], c.arg) << c.letter;
    if (c.letter == 'S') {
      // Finish the image so the board takes the next case as a command again.
      const Image image{};
      for (int i = 0; i < 8; ++i) ASSERT_TRUE(board.ImageBlock(i, image));
    }
  }
}

TEST_F(Commands, RequestsLeaveBytesTheyDoNotDefineAsTheLastRequestLeftThem) {
  Image image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i);
  ASSERT_TRUE(board.WriteImage(image, nullptr));
  ASSERT_TRUE(board.InfoQuery());
  const Report sent = LastWrite();
  // Bytes 3..64 still hold the last block: image bytes 450..511.
  for (std::size_t i = 3; i < kReportBytes; ++i) EXPECT_EQ(sent[i], image[448 + i - 1]);
}

TEST_F(Commands, RepliesWaitTheConfiguredTime) {
  board.ReadInput(1);
  for (const auto& c : fake.calls()) {
    if (c.kind == FakeCall::Read) {
      EXPECT_EQ(c.timeoutMs, 75);
    }
  }
}

TEST_F(Commands, InputReadingIsLittleEndian) {
  model->SetInput(0, 0x0102);
  model->SetInput(1, 0xFFFF);
  model->SetInput(2, 7);
  ASSERT_TRUE(board.ReadInput(1));
  EXPECT_EQ(board.reply()[2], 0x02);
  EXPECT_EQ(board.reply()[3], 0x01);
  EXPECT_EQ(board.InputReading(), 258);
  ASSERT_TRUE(board.ReadInput(2));
  EXPECT_EQ(board.InputReading(), 65535);
  ASSERT_TRUE(board.ReadInput(3));
  EXPECT_EQ(board.InputReading(), 7);
  EXPECT_FALSE(board.ReadInput(4));
}

TEST_F(Commands, FailedReadKeepsThePreviousReply) {
  model->SetInput(0, 300);
  ASSERT_TRUE(board.ReadInput(1));
  model->SetInput(0, 5);
  fake.silent = true;
  EXPECT_FALSE(board.ReadInput(1));
  EXPECT_EQ(board.InputReading(), 300);

  fake.silent = false;
  fake.Unplug("b");
  EXPECT_FALSE(board.ReadInput(1));
  EXPECT_EQ(board.InputReading(), 300);
  EXPECT_FALSE(board.Run());  // found stays 1 until the next discovery
  EXPECT_TRUE(board.found());
}

TEST_F(Commands, ALateReplyIsNotTakenForTheNextCommandsAnswer) {
  model->SetInput(0, 111);
  model->SetInput(1, 222);
  fake.lateReads = 1;
  EXPECT_FALSE(board.ReadInput(1));  // input 1's reading arrives after the wait
  ASSERT_TRUE(board.ReadInput(2));
  EXPECT_EQ(board.InputReading(), 222);
  // Once dropped, exchanges go back to one read each.
  fake.ClearCalls();
  ASSERT_TRUE(board.ReadInput(1));
  EXPECT_EQ(board.InputReading(), 111);
  EXPECT_EQ(fake.CountCalls(FakeCall::Read), 1);
}

TEST_F(Commands, InfoFieldsAreTakenAtTheirOffsetsAndLengths) {
  ReplyReport reply{};
  const std::string text = "xOK------V4.01.23--20261205--12345-----";
  for (std::size_t i = 0; i < text.size(); ++i) reply[i] = static_cast<uint8_t>(text[i]);
  const BoardInfo info = ParseBoardInfo(reply);
  EXPECT_EQ(info.testStatus, "OK");
  EXPECT_EQ(info.version, "V4.01.23");
  EXPECT_EQ(info.generation, '4');
  EXPECT_EQ(info.releaseDate, "20261205");
  EXPECT_EQ(info.buildNumber, "12345");
}

TEST_F(Commands, InfoQueryGivesTheBoardsFields) {
  ASSERT_TRUE(board.InfoQuery());
  const BoardInfo info = board.Info();
  EXPECT_EQ(info.version, "V3.00.00");
  EXPECT_EQ(info.generation, '3');
  EXPECT_EQ(info.testStatus, "OK");
  EXPECT_EQ(info.releaseDate.size(), 8u);
  EXPECT_EQ(info.buildNumber.size(), 5u);
}

TEST(Generation, FourPassesTheTransferGuardButNotTheLaunchersCheck) {
  EXPECT_TRUE(GenerationAcceptsProgram('4'));
  EXPECT_FALSE(GenerationIsCurrent('4'));
  EXPECT_TRUE(GenerationAcceptsProgram('3'));
  EXPECT_TRUE(GenerationIsCurrent('3'));
  EXPECT_TRUE(GenerationAcceptsProgram(0xFF));  // unsigned comparison
  EXPECT_FALSE(GenerationAcceptsProgram('2'));
  EXPECT_FALSE(GenerationAcceptsProgram(0));
}

TEST_F(Commands, AutoModeIsKeptByTheBoardAndReadFromReplyByteOne) {
  ASSERT_TRUE(board.AutoMode(AutoModeArg::Query));
  EXPECT_FALSE(board.AutoModeIsOn());
  ASSERT_TRUE(board.AutoMode(AutoModeArg::On));
  ASSERT_TRUE(board.AutoMode(AutoModeArg::Query));
  EXPECT_TRUE(board.AutoModeIsOn());
  EXPECT_TRUE(model->autoMode());
  ASSERT_TRUE(board.AutoMode(AutoModeArg::Off));
  ASSERT_TRUE(board.AutoMode(AutoModeArg::Query));
  EXPECT_FALSE(board.AutoModeIsOn());
}

TEST(ReplyTimeout, EnvironmentValueOrTwoSeconds) {
  EXPECT_EQ(ParseReplyTimeout(nullptr), 2000);
  EXPECT_EQ(ParseReplyTimeout("150"), 150);
  EXPECT_EQ(ParseReplyTimeout(""), 2000);
  EXPECT_EQ(ParseReplyTimeout("12ms"), 2000);
  EXPECT_EQ(ParseReplyTimeout("0"), 2000);
  EXPECT_EQ(ParseReplyTimeout("-5"), 2000);
  EXPECT_EQ(ParseReplyTimeout("99999999999"), 2000);
}

}  // namespace
}  // namespace pendra2::device
