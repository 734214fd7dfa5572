#include "flowchart_ui/dialogs/reading_text.h"

#include <QLabel>

#include "flowchart/dialog_fields.h"

namespace pendra2::flowchart_ui {

QString ReadingText(uint16_t reading) {
  return QString::fromStdString(flowchart::ReadingText(static_cast<uint8_t>(reading & 0xFF),
                                                       static_cast<uint8_t>(reading >> 8)));
}

RoundResult ShowReading(const InputReading& reading, QLabel& shown) {
  switch (reading.outcome) {
    case ReadOutcome::kReading:
      shown.setText(ReadingText(reading.value));
      return RoundResult::kRead;
    case ReadOutcome::kNoBoard:
      return RoundResult::kNoBoard;
    case ReadOutcome::kNoAnswer:
      return RoundResult::kNoAnswer;
  }
  return RoundResult::kNoBoard;
}

}  // namespace pendra2::flowchart_ui
