#include "flowchart_ui/board_reader.h"

#include "device/board.h"
#include "ui_common/board_worker.h"

namespace pendra2::flowchart_ui {
namespace {

class WorkerReader final : public BoardReader {
 public:
  explicit WorkerReader(ui::BoardWorker& worker) : worker_(worker) {}

  void ReadInputs(QObject* context, std::vector<int> inputs, ReadingsDone done) override {
    worker_.Ask(
        context,
        [inputs = std::move(inputs)](device::Board& board) {
          std::vector<InputReading> readings(inputs.size(), {ReadOutcome::kNoAnswer, 0});
          for (std::size_t i = 0; i < inputs.size(); ++i) {
            if (board.ReadInput(inputs[i])) {
              readings[i] = {ReadOutcome::kReading, board.InputReading()};
            } else if (!board.found()) {
              readings[i] = {ReadOutcome::kNoBoard, 0};
            } else {
              break;
            }
          }
          return readings;
        },
        std::move(done));
  }

  void QueryInfo(QObject* context, InfoDone done) override {
    worker_.Ask(
        context,
        [](device::Board& board) {
          // Asked whether or not a board was found: without one the query fails at once and
          // the fields show what the reply buffer already held.
          const bool answered = board.InfoQuery();
          return InfoReply{answered, board.Info(), board.found()};
        },
        std::move(done));
  }

 private:
  ui::BoardWorker& worker_;
};

}  // namespace

std::unique_ptr<BoardReader> MakeBoardReader(ui::BoardWorker& worker) {
  return std::make_unique<WorkerReader>(worker);
}

}  // namespace pendra2::flowchart_ui
