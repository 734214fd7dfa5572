#pragma once
// The main window's informational dialogs, each modal and owned by `owner`: the About box
// (command 104), the board information (from the About box) and the image dump (32785).

#include <cstdint>
#include <span>

#include "board_image/layout.h"
#include "flowchart_ui/board_reader.h"

class QWidget;

namespace pendra2::flowchart_ui {

// `board` may be null (no board link) in all three.
void ShowAbout(QWidget* owner, BoardReader* board);
void ShowBoardInfo(QWidget* owner, BoardReader* board);
void ShowImageDump(QWidget* owner, std::span<const uint8_t, board_image::kImageBytes> image);

}  // namespace pendra2::flowchart_ui
