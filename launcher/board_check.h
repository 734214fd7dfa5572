#pragma once
// What the launcher asks of the board: is one plugged in (each poll tick), and may Stepcraft
// be started with it (the generation check). No window here, so both run in plain tests.

#include "device/board.h"

namespace pendra2::launcher {

enum class PollOutcome { BoardFound, NoBoard, ListUnavailable };

// One discovery. A found board's channels are closed again at once: the launcher only
// reports the board, and the editors open it themselves.
PollOutcome PollBoard(device::Board& board);

enum class StepcraftGate {
  StartWithoutBoard,  // no board: Stepcraft starts, nothing was sent
  Start,              // a current-generation board; its channels are closed again
  WrongGeneration,    // refused; the channels stay open until the next discovery
  ListUnavailable,    // the interface list could not be had
};

// Discovery, then InfoQuery on a found board. A board that does not answer within the
// reply wait leaves the previous reply in place, which never passes the check (a passed
// check ends the launcher), so a silent board is refused like one of another generation.
StepcraftGate CheckStepcraftBoard(device::Board& board);

}  // namespace pendra2::launcher
