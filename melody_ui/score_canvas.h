#pragma once
// The client area of the score window: paints the score picture and hands mouse presses,
// releases and moves, in client coordinates, to whoever runs the editor.

#include <QPixmap>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <tuple>

#include "interaction/draw_list.h"
#include "melody/melody_state.h"
#include "melody/score_geometry.h"

class QToolButton;

namespace pendra2::melody_ui {

class ScoreCanvas final : public QWidget {
 public:
  ScoreCanvas(const melody::MelodyState& state, QWidget* parent);

  std::function<void(int x, int y)> pressed;
  std::function<void(int x, int y)> released;
  std::function<void(int x, int y)> moved;
  // A move with the left button held, after `moved`.
  std::function<void(int x, int y)> dragged;
  std::function<void()> painting;  // before each repaint: the board check

  QToolButton* deleteButton() const { return deleteButton_; }
  QToolButton* insertButton() const { return insertButton_; }
  QToolButton* loopButton() const { return loopButton_; }

  QSize sizeHint() const override { return {melody::kClientWidth, melody::kClientHeight}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void Paint(QPainter& painter, const interaction::DrawList& picture);

  const melody::MelodyState& state_;
  // Artwork rasterised once at the size it is shown at: vector artwork drawn afresh on
  // every repaint would cost a playback at the fastest tempo its beat.
  using ArtKey = std::tuple<std::string, int, int, int, int, int, int>;
  std::map<ArtKey, QPixmap> art_;
  QToolButton* deleteButton_;
  QToolButton* insertButton_;
  QToolButton* loopButton_;
};

// A flat button showing the artwork `art`, named by its command id.
QToolButton* MakeArtButton(const char* art, int id, QRect geometry, QWidget* parent);

}  // namespace pendra2::melody_ui
