#pragma once
// The transfer dialog both editors show while an image goes to the board: modal, with a bar
// that moves after each image block, painted while the reports go out, taking no input
// until the write is over. It knows nothing of the board: the caller's `write` does the
// write and reports each block as it is done.

#include <functional>

class QWidget;

namespace pendra2::ui {

// Block numbers 0..7 as the write reports them.
using BlockDone = std::function<void(int block)>;

// Shows the dialog over `owner`, runs `write` with a callback that moves the bar, closes the
// dialog and returns what `write` returned.
bool RunTransferWithProgress(QWidget* owner, const std::function<bool(const BlockDone&)>& write);

}  // namespace pendra2::ui
