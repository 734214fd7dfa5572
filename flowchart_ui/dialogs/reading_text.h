#pragma once
// One live reading: showing an input's reading as the board gave it.

#include <QString>
#include <cstdint>

#include "flowchart_ui/board_reader.h"
#include "flowchart_ui/dialogs/live_reading.h"

class QLabel;

namespace pendra2::flowchart_ui {

// The reading (reply byte 3 × 256 + byte 2) as a decimal number.
QString ReadingText(uint16_t reading);

// Shows the reading in `shown`; on failure `shown` keeps the last one.
RoundResult ShowReading(const InputReading& reading, QLabel& shown);

}  // namespace pendra2::flowchart_ui
