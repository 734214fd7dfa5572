#pragma once
// What pressing a transfer button came to, in both editors and on the command line: how far
// the transfer got, and the message that tells the user when it did not get all the way.

#include "interaction/user_message.h"

namespace pendra2::interaction {

enum class TransferStep {
  kSent,      // the whole image went out and every block was answered
  kTooLarge,  // the size guard: nothing was sent
  kNoAnswer,  // the board did not answer its generation question: nothing else was sent
  kRefused,   // the generation guard: only that question was sent
  kFailed,    // the image write broke off: the board may hold part of an image
  kNotNow,    // the editor is busy (a playback, an edit mode): nothing was sent
};

struct TransferResult {
  TransferStep step = TransferStep::kSent;
  Outcome outcome;  // the message to show unless step is kSent
};

}  // namespace pendra2::interaction
