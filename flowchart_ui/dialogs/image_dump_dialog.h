#pragma once
// 204 "Dialog": the last compiled board image, one half (256 bytes) at a time, in hex or as
// characters, in a 16 × 16 grid of read-only boxes 3001..3256.

#include <QString>
#include <array>
#include <cstdint>
#include <span>

#include "board_image/layout.h"
#include "flowchart_ui/dialogs/template_dialog.h"

namespace pendra2::flowchart_ui {

enum class DumpHalf { kFirst, kSecond };
enum class DumpForm { kHex, kCharacters };

// One byte as the grid shows it: "%02X", or the character itself (a zero byte shows an
// empty box, a byte without a character of its own a dot).
QString DumpCell(uint8_t byte, DumpForm form);

class ImageDumpDialog : public TemplateDialog {
  Q_OBJECT

 public:
  // The image is copied: the dialog shows the image as it was when opened.
  ImageDumpDialog(std::span<const uint8_t, board_image::kImageBytes> image, QWidget* parent);

  void Show(DumpHalf half, DumpForm form);

 private:
  board_image::Image image_{};
};

}  // namespace pendra2::flowchart_ui
