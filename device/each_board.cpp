#include "device/each_board.h"

#include <memory>
#include <system_error>
#include <thread>
#include <utility>

namespace pendra2::device {
namespace {

void RunOne(Transport& transport, const AttachedBoard& target, int replyTimeoutMs,
            std::size_t index, const EachBoardJob& job) {
  Board board(transport, replyTimeoutMs);
  board.ChooseBoard(target.interface.path);
  board.FindBoard();
  job(index, board);
}

}  // namespace

void ForEachBoard(Transport& transport, const std::vector<AttachedBoard>& boards,
                  int replyTimeoutMs, const EachBoardJob& job) {
  std::vector<std::thread> threads;
  threads.reserve(boards.size());
  std::vector<std::size_t> leftOver;  // boards no thread could be had for
  for (std::size_t i = 0; i < boards.size(); ++i) {
    std::unique_ptr<Transport> twin = transport.Sibling();
    if (!twin) {
      leftOver.push_back(i);
      continue;
    }
    try {
      // The twin lives and dies on the board's thread, and with it whatever it opens there.
      threads.emplace_back([twin = std::move(twin), &boards, replyTimeoutMs, i, &job]() mutable {
        RunOne(*twin, boards[i], replyTimeoutMs, i, job);
        twin.reset();
      });
    } catch (const std::system_error&) {
      leftOver.push_back(i);
    }
  }
  for (const std::size_t i : leftOver) RunOne(transport, boards[i], replyTimeoutMs, i, job);
  for (std::thread& t : threads) t.join();
}

}  // namespace pendra2::device
