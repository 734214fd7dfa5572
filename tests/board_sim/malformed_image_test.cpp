// Whatever an image holds, the board neither crashes nor runs away: it stops and says why.

#include <gtest/gtest.h>

#include <random>

#include "board_sim/sim_helpers.h"

namespace pendra2::board_sim {
namespace {

using testing::Bytes;
using testing::Join;
using testing::Lo16;
using testing::RunImage;

Bytes GotoThen(int address, const Bytes& there) {
  Bytes b = Join({{'b', 0, 0, 0}, Lo16(address)});
  b.resize(static_cast<std::size_t>(address), 0xFF);
  return Join({b, there});
}

TEST(MalformedImage, StopsWithAReason) {
  Bytes restsToTheEnd = {'T', 121};
  restsToTheEnd.resize(512, 23);
  Bytes tuneToTheEnd = {'T', 1};
  tuneToTheEnd.resize(512, 0);
  // Four empty loops inside each other, each repeated 256 times: 2^32 marks and no sound.
  const Bytes emptyLoops = {'T', 1, 'l', 255, 'l', 255, 'l', 255, 'l', 255, 'L', 3, 0,  8,
                            'L', 2, 0,   6,   'L', 1,   0,   4,   'L', 0,   0,   2, 24, 'E'};
  const struct {
    const char* what;
    Bytes image;
    StopReason reason;
    int address;  // -1: wherever the repeat is noticed
  } table[] = {
      {"a blank board", {}, StopReason::NoProgram, 0},
      {"an unknown letter", {'O', 0, 1, 'Z'}, StopReason::UnknownLetter, 3},
      {"running into the 0xFF padding", {'O', 0, 1}, StopReason::UnknownLetter, 3},
      {"a jump past the image", Join({{'b', 0, 0, 0}, Lo16(600)}), StopReason::JumpOutside, 0},
      {"a loop end jumping past the image",
       {'l', 1, 'L', 1, 0x00, 0x03},
       StopReason::JumpOutside,
       2},
      {"an instruction cut by the image's end", GotoThen(510, {'O', 0}), StopReason::RanOffImage,
       510},
      {"a tune letter in the last byte", GotoThen(511, {'T'}), StopReason::RanOffImage, 511},
      {"rests running to the image's end", restsToTheEnd, StopReason::RanOffImage, 0},
      {"a tune with no end mark", tuneToTheEnd, StopReason::RanOffImage, 0},
      {"output port 3", {'O', 3, 1, 'E'}, StopReason::BadOperand, 0},
      {"input 4", Join({{'B', 3, 0, 0}, Lo16(0)}), StopReason::BadOperand, 0},
      {"compare operation 3", Join({{'C', 3, 0, 0}, Lo16(0)}), StopReason::BadOperand, 0},
      {"variable operation 12", {'A', 12, 0, 0, 'E'}, StopReason::BadOperand, 0},
      {"variable condition 9", Join({{'c', 9, 0, 0}, Lo16(0)}), StopReason::BadOperand, 0},
      // The counters stop at four; known at the loop start that the loop end names.
      {"a fifth loop counter", {'l', 1, 'A', 1, 1, 0, 'L', 4, 2, 0}, StopReason::LoopTooDeep, 0},
      {"a goto to itself", Join({{'b', 0, 0, 0}, Lo16(0)}), StopReason::EndlessLoop, 0},
      {"blinking without a wait", Join({{'O', 0, 1, 'O', 0, 0, 'b', 0, 0, 0}, Lo16(0)}),
       StopReason::EndlessLoop, 6},
      {"counting up for ever", Join({{'A', 1, 1, 0, 'b', 0, 0, 0}, Lo16(0)}),
       StopReason::EndlessLoop, -1},
      {"empty tune loops", emptyLoops, StopReason::EndlessMarks, -1},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.what);
    const auto r = RunImage(row.image);
    EXPECT_FALSE(r.board.running());
    EXPECT_EQ(ReasonKey(r.board.stopped().reason), std::string(ReasonKey(row.reason)));
    if (row.address >= 0) {
      EXPECT_EQ(r.board.stopped().address, row.address);
    }
    EXPECT_FALSE(Describe(r.board.stopped()).empty());
  }
}

TEST(MalformedImage, ALoopThatReadsAnInputKeepsRunning) {
  // The night light: LED on while input 1 is below 300, checked for ever without a wait.
  const Bytes nightLight = Join({{'B', 0},
                                 Lo16(300),
                                 Lo16(15),
                                 {'O', 0, 0, 'b', 0, 0, 0},
                                 Lo16(0),
                                 {'O', 0, 1, 'b', 0, 0, 0},
                                 Lo16(0)});
  BoardSim board;
  board.Load(testing::MakeImage(nightLight));
  board.SetInput(0, 800);
  board.Start(0);
  while (board.Advance(1'000'000)) {
  }
  EXPECT_TRUE(board.running());
  EXPECT_FALSE(board.outputs().led);
  board.SetInput(0, 100);  // dark: read at the next pass
  while (board.Advance(1'001'000)) {
  }
  EXPECT_TRUE(board.outputs().led);
  EXPECT_TRUE(board.running());
  board.SetInput(0, 5000);  // out of range: read as 1023
  EXPECT_EQ(board.input(0), 1023);
}

TEST(MalformedImage, RandomImagesNeverCrashOrRunAway) {
  // Mostly letters and small numbers, so that the images get past their first byte.
  const Bytes alphabet = {'T', 'l', 'L', 'b', 'B', 'O', 'o', 'C', 'A', 'a', 'c',
                          'E', 0,   1,   2,   3,   4,   23,  24,  121, 255, 0x01};
  std::mt19937 random(13);
  for (int round = 0; round < 3000; ++round) {
    Bytes image(static_cast<std::size_t>(random() % 512 + 1));
    for (auto& b : image) {
      b = random() % 4 == 0 ? static_cast<uint8_t>(random()) : alphabet[random() % alphabet.size()];
    }
    const auto r = RunImage(image, {static_cast<uint16_t>(random() % 1024)}, 200);
    EXPECT_TRUE(r.board.running() || r.board.stopped().reason != StopReason::None);
    EXPECT_LT(r.board.address(), kImageBytes);
  }
}

}  // namespace
}  // namespace pendra2::board_sim
