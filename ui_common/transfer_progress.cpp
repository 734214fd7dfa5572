#include "ui_common/transfer_progress.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "ui_common/replay/dialog_driver.h"

namespace pendra2::ui {
namespace {

constexpr int kLastBlock = 7;

// Between blocks only the dialog's own painting may run: no input, and no timers either
// (where the platform's event dispatcher can hold them back), since a playback tick or a live
// reading would put its report between the image blocks.
constexpr QEventLoop::ProcessEventsFlags kPaintOnly = QEventLoop::ExcludeUserInputEvents |
                                                      QEventLoop::ExcludeSocketNotifiers |
                                                      QEventLoop::X11ExcludeTimers;

// A dialog that the user cannot close while the board is being written.
class TransferDialog final : public QDialog {
 public:
  explicit TransferDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("147"));
    setProperty(replay::kReplayPassiveProperty, true);
    setWindowTitle(QStringLiteral("データ転送中"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint & ~Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("データをマイコンに転送しています。　　"), this);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("1000"));
    bar_->setRange(0, kLastBlock);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    layout->addWidget(label);
    layout->addWidget(bar_);
    setMinimumWidth(320);
  }

  void SetBlock(int block) {
    bar_->setValue(std::clamp(block, 0, kLastBlock));
    Paint();
  }

  void Paint() {
    QCoreApplication::processEvents(kPaintOnly);
    repaint();
  }

  void reject() override {}  // Escape does not end a transfer half-way

 protected:
  void closeEvent(QCloseEvent* event) override { event->ignore(); }

 private:
  QProgressBar* bar_ = nullptr;
};

}  // namespace

bool RunTransferWithProgress(QWidget* owner, const std::function<bool(const BlockDone&)>& write) {
  TransferDialog dialog(owner);
  dialog.show();
  dialog.Paint();
  const bool written = write([&dialog](int block) { dialog.SetBlock(block); });
  // Clicks and keys that came in during the write are delivered now, while the dialog still
  // blocks every other window, so they are dropped instead of starting a second transfer.
  QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers |
                                  QEventLoop::X11ExcludeTimers);
  dialog.hide();
  return written;
}

bool DialogImageWriter::WriteImage(std::span<const uint8_t, board_image::kImageBytes> image) {
  board_image::Image copy;
  std::copy(image.begin(), image.end(), copy.begin());
  return RunTransferWithProgress(owner_, [&](const BlockDone& done) {
    QPointer<QWidget> owner(owner_);
    return board_.AskAndWait([copy, done, owner](device::Board& board) {
      return board.WriteImage(copy, [done, owner](int block) {
        QMetaObject::invokeMethod(
            owner, [done, block] { done(block); }, Qt::QueuedConnection);
      });
    });
  });
}

}  // namespace pendra2::ui
