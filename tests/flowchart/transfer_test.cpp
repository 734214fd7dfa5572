#include "flowchart/transfer.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "program_builder.h"

namespace pendra2::flowchart {
namespace {

using namespace testing;

struct ScriptedBoard : GenerationSource, interaction::BoardImageWriter {
  std::optional<uint8_t> generation;
  bool writeSucceeds = true;
  const int32_t* busy = nullptr;
  int queries = 0;
  std::vector<BoardImage> images;
  int busyDuringWrite = -1;

  std::optional<uint8_t> QueryGeneration() override {
    ++queries;
    return generation;
  }
  bool WriteImage(std::span<const uint8_t, interaction::kBoardImageBytes> image) override {
    busyDuringWrite = *busy;
    images.emplace_back();
    std::copy(image.begin(), image.end(), images.back().begin());
    return writeSucceeds;
  }
};

TEST_F(ProgramTest, TransferGuardsInOrderAndNeverPassesAFailureAsSuccess) {
  const struct {
    int32_t imageSize;
    std::optional<uint8_t> generation;
    bool writeSucceeds;
    TransferStep step;
    int queries;
    int writes;
  } cases[] = {
      {512, '3', true, TransferStep::kTooLarge, 0, 0},  // nothing at all is sent
      {511, '3', true, TransferStep::kSent, 1, 1},
      {10, std::nullopt, true, TransferStep::kNoAnswer, 1, 0},  // an older reply never counts
      {10, '2', true, TransferStep::kRefused, 1, 0},
      {10, '4', true, TransferStep::kSent, 1, 1},
      {10, 0xFF, true, TransferStep::kSent, 1, 1},
      {10, '3', false, TransferStep::kFailed, 1, 1},
  };
  const interaction::UserMessage messages[] = {{},
                                               kTooLargeMessage,
                                               kTransferFailedMessage,
                                               kGenerationRefusedMessage,
                                               kTransferFailedMessage};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    Build(p, {Step(K::Output, 1), Step(K::Wait, 4)});
    p.image.fill(0);  // stale: the transfer recomputes before it sends
    p.imageSize = c.imageSize;
    int32_t transferBusy = 0;
    ScriptedBoard board;
    board.generation = c.generation;
    board.writeSucceeds = c.writeSucceeds;
    board.busy = &transferBusy;
    const TransferResult r = Transfer(p, transferBusy, board, board);
    EXPECT_EQ(r.step, c.step);
    EXPECT_EQ(r.outcome.ok(), c.step == TransferStep::kSent);
    if (!r.outcome.ok()) {
      EXPECT_EQ(r.outcome.message(), messages[static_cast<int>(c.step)]);
    }
    EXPECT_EQ(board.queries, c.queries);
    ASSERT_EQ(board.images.size(), static_cast<std::size_t>(c.writes));
    EXPECT_EQ(transferBusy, 0);
    if (c.writes == 1) {
      EXPECT_EQ(board.busyDuringWrite, 2);
      EXPECT_EQ(board.images[0], p.image);
      EXPECT_NE(p.image[0], 0);
    }
  }
}

}  // namespace
}  // namespace pendra2::flowchart
