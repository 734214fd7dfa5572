#pragma once
// The board on the screen: its lamps, the extended outputs, variables A and B, the step
// being run, the note, and sliders for the three inputs that a running program reads live.
// A launcher polls the board twenty times a second and a program may run thousands of
// steps a second, so changes are gathered for a moment and only what differs is redrawn.

#include <QTimer>
#include <QWidget>
#include <array>
#include <optional>
#include <string>

#include "board_sim/board_sim.h"
#include "virtual_board/board_model.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace pendra2::ui {
class BoardLamps;
class InputSliders;
class MusicBox;
}  // namespace pendra2::ui

namespace pendra2::virtual_board {

class BoardRunner;
class BoardServer;

class BoardWindow : public QWidget {
  Q_OBJECT
 public:
  BoardWindow(BoardServer& server, BoardRunner& runner, ui::MusicBox& sound,
              const std::string& name, QWidget* parent = nullptr);

 private:
  // What the window last showed.
  struct Shown {
    int attached = 0;
    bool autoMode = false;
    bool running = false;
    board_sim::StopInfo stop;
    board_sim::Outputs outputs;
    int16_t a = 0, b = 0;
    int address = -1;  // the last step run
    uint8_t letter = 0;
    bool column = false;
    uint8_t note = board_sim::kSilence;
    int speed = 0;
    int next = -1;  // the next address, shown when stepping
    std::array<uint16_t, 3> inputs{};
    bool operator==(const Shown&) const = default;
  };

  Shown Now() const;
  void ScheduleRefresh();
  void Refresh();
  void ShowImage();

  BoardServer& server_;
  BoardRunner& runner_;
  QTimer refreshTimer_;
  std::optional<Shown> shown_;
  QLabel* attached_ = nullptr;
  QLabel* autoMode_ = nullptr;
  QLabel* state_ = nullptr;
  ui::BoardLamps* lamps_ = nullptr;
  QLabel* variables_ = nullptr;
  QLabel* step_ = nullptr;
  QLabel* next_ = nullptr;
  QLabel* note_ = nullptr;
  QLabel* message_ = nullptr;
  QComboBox* speed_ = nullptr;
  QPushButton* stepButton_ = nullptr;
  QCheckBox* showImage_ = nullptr;
  QPlainTextEdit* image_ = nullptr;
  ui::InputSliders* inputs_ = nullptr;
};

}  // namespace pendra2::virtual_board
