#pragma once
// A classroom's boards at once: one board link and one thread for each board, so that
// twenty boards take the time of one instead of twenty. Each board's own device lock still
// keeps every exchange with it whole, whoever else talks to it meanwhile.

#include <cstddef>
#include <functional>
#include <vector>

#include "device/board.h"
#include "device/board_choice.h"
#include "device/transport.h"

namespace pendra2::device {

// Runs on the board's own thread with that board's link, discovery already made for that
// board alone: board.found() tells whether it is still there.
using EachBoardJob = std::function<void(std::size_t index, Board& board)>;

// Runs `job` for every board of `boards` at the same time, each over a twin of `transport`
// (Transport::Sibling), and returns when every job has ended. A transport without twins
// (or a machine out of threads) takes those boards one after another on this thread, over
// `transport` itself.
void ForEachBoard(Transport& transport, const std::vector<AttachedBoard>& boards,
                  int replyTimeoutMs, const EachBoardJob& job);

}  // namespace pendra2::device
