#include <gtest/gtest.h>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <chrono>
#include <thread>

#include "ui_common/transfer_progress.h"

namespace pendra2::ui {
namespace {

// Counts the paints the progress bar gets.
class PaintCounter final : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && qobject_cast<QProgressBar*>(watched) != nullptr) ++paints;
    return false;
  }
};

TEST(RunTransferWithProgress, ShowsAndPaintsTheBarAfterEachBlockWhileNothingElseRuns) {
  QWidget owner;
  owner.show();
  // A timer like playback's or the live readings', due while the write is going on.
  bool timerRan = false;
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, [&] { timerRan = true; });
  timer.start(1);
  PaintCounter counter;
  qApp->installEventFilter(&counter);
  std::vector<int> shownValues;
  std::vector<int> paintsSeen;
  const bool written = RunTransferWithProgress(&owner, [&](const BlockDone& done) {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    EXPECT_NE(dialog, nullptr);
    if (dialog == nullptr) return false;
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("データ転送中"));
    EXPECT_EQ(dialog->parentWidget(), &owner);
    EXPECT_EQ(dialog->findChild<QLabel*>()->text(),
              QStringLiteral("データをマイコンに転送しています。　　"));
    auto* bar = dialog->findChild<QProgressBar*>(QStringLiteral("1000"));
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 7);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    for (int block = 0; block < 8; ++block) {
      done(block);
      shownValues.push_back(bar->value());
      paintsSeen.push_back(counter.paints);
      // Neither Escape nor the close box ends the transfer half-way.
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(dialog, &escape);
      dialog->close();
      EXPECT_TRUE(dialog->isVisible());
    }
    // A timer due before the write did not run in the middle of it.
    EXPECT_FALSE(timerRan);
    return true;
  });
  qApp->removeEventFilter(&counter);
  EXPECT_TRUE(written);
  EXPECT_EQ(shownValues, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  for (size_t i = 1; i < paintsSeen.size(); ++i) EXPECT_GT(paintsSeen[i], paintsSeen[i - 1]);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_FALSE(RunTransferWithProgress(nullptr, [](const BlockDone&) { return false; }));
}

}  // namespace
}  // namespace pendra2::ui
