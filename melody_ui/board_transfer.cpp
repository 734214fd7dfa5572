#include "melody_ui/board_transfer.h"

#include <QApplication>
#include <QProgressDialog>

namespace pendra2::melody_ui {

bool ProgressImageWriter::WriteImage(std::span<const uint8_t, 512> image) {
  QProgressDialog dialog(QString::fromUtf8("データをマイコンに転送しています。　　"), QString(), 0, 7,
                         owner_);
  dialog.setObjectName(QStringLiteral("147"));
  dialog.setProperty("pendra2ReplayPassive", true);
  dialog.setWindowTitle(QString::fromUtf8("データ転送中"));
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setMinimumDuration(0);
  dialog.show();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  return board_.WriteImage(image, [&](int block) {
    dialog.setValue(block);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  });
}

}  // namespace pendra2::melody_ui
