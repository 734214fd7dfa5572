#include "cli/qt_messages.h"

#include <QString>
#include <cstdio>

namespace pendra2::cli {

void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "pendra2-cli: %s\n", message.toLocal8Bit().constData());
  }
}

}  // namespace pendra2::cli
