#pragma once
// Qt's own diagnostics ("QPainter::begin: ...", socket notifier warnings) are for developers;
// the user of the command line gets our messages, which say what went wrong with which file.

#include <QtGlobal>

namespace pendra2::cli {

// A Qt message handler that passes only critical and fatal messages on, to stderr.
void QuietQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message);

}  // namespace pendra2::cli
