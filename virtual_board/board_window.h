#pragma once
// A small window showing what the virtual board is doing, updated as reports arrive.

#include <QWidget>
#include <array>

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
  void Refresh();

  BoardServer& server_;
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
