#pragma once
// What Stepcraft's dialogs ask of the board: a reading of one input (the branch dialogs'
// live readings) and the board's information (the board information dialog). The program
// passes one over its board link; tests pass a fake.

#include <cstdint>
#include <memory>

#include "device/board_info.h"

namespace pendra2::device {
class Board;
}

namespace pendra2::flowchart_ui {

enum class ReadOutcome {
  kReading,   // the board answered
  kNoBoard,   // nothing to ask (no board found): fails at once
  kNoAnswer,  // asked, and the reply wait ran out
};

struct InputReading {
  ReadOutcome outcome = ReadOutcome::kNoBoard;
  uint16_t value = 0;  // valid for kReading
};

struct InfoReply {
  bool answered = false;
  // The fields the reply buffer holds now: the new reply, or what an earlier one left.
  device::BoardInfo info;
  // False when there was no board to ask (the query failed at once).
  bool boardFound = true;
};

class BoardReader {
 public:
  virtual ~BoardReader() = default;
  // Input 1, 2 or 3. Each call waits at most the board link's reply timeout.
  virtual InputReading ReadInput(int input) = 0;
  virtual InfoReply QueryInfo() = 0;
};

// Over the program's board link.
std::unique_ptr<BoardReader> MakeBoardReader(device::Board& board);

}  // namespace pendra2::flowchart_ui
