#include "flowchart_ui/info_dialogs.h"

#include "flowchart_ui/dialogs/about_dialog.h"
#include "flowchart_ui/dialogs/board_info_dialog.h"
#include "flowchart_ui/dialogs/image_dump_dialog.h"

namespace pendra2::flowchart_ui {

void ShowAbout(QWidget* owner, BoardReader* board) {
  AboutDialog dialog([board](QWidget* about) { ShowBoardInfo(about, board); }, owner);
  dialog.exec();
}

void ShowBoardInfo(QWidget* owner, BoardReader* board) {
  BoardInfoDialog dialog(board, owner);
  dialog.exec();
}

void ShowImageDump(QWidget* owner, std::span<const uint8_t, board_image::kImageBytes> image) {
  ImageDumpDialog dialog(image, owner);
  dialog.exec();
}

}  // namespace pendra2::flowchart_ui
