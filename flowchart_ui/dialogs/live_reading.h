#pragma once
// The live sensor reading of the branch dialogs: a toggle button starts and stops it; each
// 50 ms tick runs one round of readings with the timer stopped, then starts the timer again,
// so no two exchanges with the board ever overlap. A board that does not answer stops the
// reading and says so, rather than keeping the dialog waiting for a reply at every tick.

#include <QObject>
#include <QTimer>
#include <functional>

#include "flowchart/dialog_fields.h"

class QLabel;
class QPushButton;

namespace pendra2::flowchart_ui {

inline constexpr const char* kNoBoardNote = "ボードが接続されていません";
inline constexpr const char* kNoAnswerNote = "ボードが応答しません";

enum class RoundResult { kRead, kNoBoard, kNoAnswer };

class LiveReading : public QObject {
  Q_OBJECT

 public:
  // `round` reads the inputs once and shows them; `note` shows what went wrong.
  LiveReading(QPushButton* toggle, QLabel* note, std::function<RoundResult()> round,
              QObject* parent);

  bool running() const { return running_; }
  void Toggle();
  void Stop();
  // One tick of the timer (public so that tests can tick without waiting).
  void Tick();

 private:
  void ShowNote(const char* text);

  QPushButton* toggle_;
  QLabel* note_;
  std::function<RoundResult()> round_;
  QTimer timer_;
  bool running_ = false;
};

}  // namespace pendra2::flowchart_ui
