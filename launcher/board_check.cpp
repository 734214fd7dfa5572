#include "launcher/board_check.h"

namespace pendra2::launcher {

PollOutcome PollBoard(device::Board& board) {
  switch (board.FindBoard()) {
    case device::kInterfaceListUnavailable:
      return PollOutcome::ListUnavailable;
    case device::kBoardFound: {
      const bool answering = board.link().responding;
      board.CloseChannels();
      return answering ? PollOutcome::BoardFound : PollOutcome::NoAnswer;
    }
    default:
      return PollOutcome::NoBoard;
  }
}

StepcraftGate CheckStepcraftBoard(device::Board& board) {
  const int found = board.FindBoard();
  if (found == device::kInterfaceListUnavailable) return StepcraftGate::ListUnavailable;
  if (found != device::kBoardFound) return StepcraftGate::StartWithoutBoard;
  if (!board.InfoQuery()) return StepcraftGate::NoAnswer;
  if (!device::GenerationIsCurrent(board.Info().generation)) return StepcraftGate::WrongGeneration;
  board.CloseChannels();
  return StepcraftGate::Start;
}

}  // namespace pendra2::launcher
