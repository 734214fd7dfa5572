#pragma once
// What the Qt tests share: acting in the modal dialog or box that opens next, reading a
// control by its id, and painting a draw list to count what it put on the picture.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QTimer>

#include "ui_common/draw_list_painter.h"

namespace pendra2::testing {

// Runs `act` on the modal W once it is open; one still open afterwards is cancelled, so that
// a test that goes wrong fails instead of hanging.
template <typename W = QDialog, typename Act>
void WhenModal(Act act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    auto* dialog = qobject_cast<W*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr) << "no " << W::staticMetaObject.className() << " open";
    QPointer<W> alive(dialog);
    act(*dialog);
    if (alive && alive->isVisible()) alive->reject();
  });
}

// The text of the label, button or edit named `id` inside `parent`.
inline QString Shown(const QObject& parent, int id) {
  const auto* widget = parent.findChild<QWidget*>(QString::number(id));
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
  ADD_FAILURE() << "no label, button or edit " << id;
  return {};
}

// `list` painted on white at 96 dpi.
inline QImage Paint(const interaction::DrawList& list, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  QPainter painter(&image);
  ui::PaintDrawList(painter, list);
  return image;
}

enum class Ink { Dark, Coloured, Any };

// How many pixels of `area` are dark, strongly coloured, or anything but white.
inline int Pixels(const QImage& image, QRect area, Ink ink = Ink::Dark) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      n += ink == Ink::Dark       ? qGray(c.rgb()) < 100
           : ink == Ink::Coloured ? c.saturation() > 60
                                  : c != Qt::white;
    }
  }
  return n;
}

}  // namespace pendra2::testing
