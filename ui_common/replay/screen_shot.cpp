#include "ui_common/replay/screen_shot.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "ui_common/replay/dialog_driver.h"

namespace pendra2::ui::replay {
namespace {

// Long enough for a window manager to map and frame a window that has just opened.
constexpr int kSettleMs = 150;

const QColor kDesktop(0x4a, 0x6f, 0x8f);

std::vector<QWidget*> ShownWindows() {
  std::vector<QWidget*> shown;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && !widget->isMinimized() && widget->windowType() != Qt::Desktop)
      shown.push_back(widget);
  }
  // Offscreen there is no stacking to read: main windows lie below dialogs, and the dialog
  // that waits for an answer lies on top.
  const auto layer = [](const QWidget* widget) {
    if (widget == QApplication::activeModalWidget()) return 3;
    if (qobject_cast<const QDialog*>(widget) == nullptr) return 0;
    return widget->isModal() ? 2 : 1;
  };
  std::stable_sort(shown.begin(), shown.end(),
                   [&](const QWidget* a, const QWidget* b) { return layer(a) < layer(b); });
  return shown;
}

QImage Compose(const std::vector<QWidget*>& windows, const QRect& area) {
  QImage image(area.size(), QImage::Format_RGB32);
  image.fill(kDesktop);
  QPainter painter(&image);
  for (QWidget* window : windows)
    painter.drawPixmap(window->geometry().topLeft() - area.topLeft(), window->grab());
  return image;
}

}  // namespace

std::optional<std::string> TakeScreenShot(const std::string& path, bool wholeScreen) {
  RunEventsFor(kSettleMs);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return "there is no screen to take a picture of";
  const bool offscreen = QGuiApplication::platformName() == QLatin1String("offscreen");
  const std::vector<QWidget*> windows = ShownWindows();
  QRect area;
  // Offscreen windows have no frame to paint, only the margins a frame would take.
  for (const QWidget* window : windows)
    area |= offscreen ? window->geometry() : window->frameGeometry();
  if (wholeScreen) area = screen->geometry();
  area &= screen->geometry();
  if (area.isEmpty()) return "no window is shown";

  const QImage image =
      offscreen
          ? Compose(windows, area)
          : screen->grabWindow(0).copy(area.translated(-screen->geometry().topLeft())).toImage();
  if (image.isNull()) return "the screen could not be read";
  if (!image.save(QString::fromStdString(path), "PNG")) return "cannot write " + path;
  return std::nullopt;
}

}  // namespace pendra2::ui::replay
