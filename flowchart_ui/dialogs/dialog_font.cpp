#include "flowchart_ui/dialogs/dialog_font.h"

#include "ui_common/fonts.h"

namespace pendra2::flowchart_ui {

namespace {
constexpr int kDialogPoints = 9;
}

QFont DialogFont() {
  QFont font;
  font.setFamilies(ui::GothicFamilies());
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(kDialogPoints);
  return font;
}

}  // namespace pendra2::flowchart_ui
