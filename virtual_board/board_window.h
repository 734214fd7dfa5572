#pragma once
// A small window showing what the virtual board is doing. A launcher polls the board twenty
// times a second, each poll connecting and disconnecting; redrawing on every one of those
// kept a core busy. So changes are gathered for a moment and only what differs is redrawn.

#include <QTimer>
#include <QWidget>
#include <array>
#include <optional>

#include "virtual_board/board_model.h"

class QLabel;
class QSlider;
class QPlainTextEdit;

namespace pendra2::virtual_board {

class BoardServer;

class BoardWindow : public QWidget {
  Q_OBJECT
 public:
  explicit BoardWindow(BoardServer& server, QWidget* parent = nullptr);

 private:
  // What the window last showed.
  struct Shown {
    int attached = 0;
    bool running = false;
    bool autoMode = false;
    uint8_t note = 0;
    std::array<uint16_t, 3> inputs{};
    device::Image image{};
    bool operator==(const Shown&) const = default;
  };

  void ScheduleRefresh();
  void Refresh();

  BoardServer& server_;
  QTimer refreshTimer_;
  std::optional<Shown> shown_;
  QLabel* attached_ = nullptr;
  QLabel* lamps_ = nullptr;
  QLabel* autoMode_ = nullptr;
  QLabel* runState_ = nullptr;
  QLabel* note_ = nullptr;
  QPlainTextEdit* image_ = nullptr;
  std::array<QSlider*, 3> sliders_{};
  std::array<QLabel*, 3> readings_{};
};

}  // namespace pendra2::virtual_board
