#pragma once
// Paints a draw list with QPainter on whatever device the painter is open on: a widget,
// a QImage or a QPrinter. Font sizes follow the device's vertical resolution.

#include <QPainter>

#include "interaction/draw_list.h"

namespace pendra2::ui {

void PaintDrawList(QPainter& painter, const interaction::DrawList& list);

}  // namespace pendra2::ui
