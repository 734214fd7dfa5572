#pragma once
// What the launcher asks of the board: is one plugged in (each poll tick), and may Stepcraft
// be started with it (the generation check). No window here, so both run in plain tests.

#include "device/board.h"

namespace pendra2::launcher {

enum class PollOutcome { BoardFound, NoAnswer, NoBoard, ListUnavailable };

// One discovery. A found board's channels are closed again at once: the launcher only
// reports the board, and the editors open it themselves. A board that is there but did not
// answer when it was looked for is NoAnswer.
PollOutcome PollBoard(device::Board& board);

enum class StepcraftGate {
  StartWithoutBoard,  // no board: Stepcraft starts, nothing was sent
  Start,              // a current-generation board; its channels are closed again
  WrongGeneration,    // refused; the channels stay open until the next discovery
  NoAnswer,           // found, but InfoQuery got no reply: the generation is unknown
  ListUnavailable,    // the interface list could not be had
};

// Discovery, then InfoQuery on a found board. Only a reply to this very query decides the
// generation; a board that stays silent is told apart from one of another generation.
StepcraftGate CheckStepcraftBoard(device::Board& board);

// What the launcher says about a board that did not answer.
inline constexpr const char* kNoAnswerText =
    "Pendra2から応答がありません。\nPendra2を接続しなおしてから実行してください。";
inline constexpr const char* kNoAnswerCaption = "Pendra2";

}  // namespace pendra2::launcher
