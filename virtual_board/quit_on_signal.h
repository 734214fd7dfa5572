#pragma once

class QCoreApplication;

namespace pendra2::virtual_board {

// Lets SIGTERM and SIGINT end the event loop normally, so the server closes and removes
// its socket file instead of leaving it behind.
void QuitOnSignal(QCoreApplication& app);

}  // namespace pendra2::virtual_board
