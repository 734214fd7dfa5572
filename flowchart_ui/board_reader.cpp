#include "flowchart_ui/board_reader.h"

#include "device/board.h"

namespace pendra2::flowchart_ui {
namespace {

class LinkReader final : public BoardReader {
 public:
  explicit LinkReader(device::Board& board) : board_(board) {}

  InputReading ReadInput(int input) override {
    if (board_.ReadInput(input)) return {ReadOutcome::kReading, board_.InputReading()};
    return {board_.found() ? ReadOutcome::kNoAnswer : ReadOutcome::kNoBoard, 0};
  }

  InfoReply QueryInfo() override {
    // Asked whether or not a board was found: without one the query fails at once and the
    // fields show what the reply buffer already held.
    const bool answered = board_.InfoQuery();
    return {answered, board_.Info(), board_.found()};
  }

 private:
  device::Board& board_;
};

}  // namespace

std::unique_ptr<BoardReader> MakeBoardReader(device::Board& board) {
  return std::make_unique<LinkReader>(board);
}

}  // namespace pendra2::flowchart_ui
