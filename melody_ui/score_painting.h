#pragma once
// Paints the score window's picture onto a painter open on the window.

#include <QPainter>

#include "melody/melody_state.h"

namespace pendra2::melody_ui {

void PaintScoreWindow(QPainter& painter, const melody::MelodyState& state);

}  // namespace pendra2::melody_ui
