#pragma once
// What Stepcraft's dialogs ask of the board: readings of its inputs (the branch dialogs'
// live readings) and the board's information (the board information dialog). The answers
// come later, on the dialog's thread, so a dialog keeps drawing while the board takes its
// time. The program passes one over its board worker; tests pass a fake.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "device/board_info.h"

class QObject;

namespace pendra2::ui {
class BoardWorker;
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
  device::BoardInfo info{};
  // False when there was no board to ask (the query failed at once).
  bool boardFound = true;
};

using ReadingsDone = std::function<void(const std::vector<InputReading>&)>;
using InfoDone = std::function<void(const InfoReply&)>;

class BoardReader {
 public:
  virtual ~BoardReader() = default;
  // Inputs 1, 2 or 3, read one after another; once the board has not answered, the rest
  // are not asked (each would wait as long) and report kNoAnswer. `done` is told unless
  // `context` has gone by then.
  virtual void ReadInputs(QObject* context, std::vector<int> inputs, ReadingsDone done) = 0;
  virtual void QueryInfo(QObject* context, InfoDone done) = 0;
};

// Over the program's board worker.
std::unique_ptr<BoardReader> MakeBoardReader(ui::BoardWorker& worker);

}  // namespace pendra2::flowchart_ui
