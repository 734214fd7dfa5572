#pragma once
// One live reading: asking the board for an input and showing the reply.

#include <QString>
#include <cstdint>

#include "flowchart_ui/board_reader.h"
#include "flowchart_ui/dialogs/live_reading.h"

class QLabel;

namespace pendra2::flowchart_ui {

// The reading (reply byte 3 × 256 + byte 2) as a decimal number.
QString ReadingText(uint16_t reading);

// Reads input 1..3 and shows the reading in `shown`; on failure `shown` keeps the last one.
RoundResult ShowReading(BoardReader* board, int input, QLabel& shown);

}  // namespace pendra2::flowchart_ui
