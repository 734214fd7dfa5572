#pragma once
// The live sensor reading of the branch dialogs: a toggle button starts and stops it; each
// 50 ms tick asks for one round of readings with the timer stopped and starts the timer again
// once the round is told, so no two rounds ever overlap. A board that does not answer stops
// the reading and says so, rather than keeping the board busy with a reply wait every tick.

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
using RoundDone = std::function<void(RoundResult)>;

class LiveReading : public QObject {
  Q_OBJECT

 public:
  // `round` asks for the inputs once, shows them when they come and tells how it went;
  // `note` shows what went wrong.
  LiveReading(QPushButton* toggle, QLabel* note, std::function<void(RoundDone)> round,
              QObject* parent);

  bool running() const { return running_; }
  void Toggle();
  void Stop();
  // One tick of the timer (public so that tests can tick without waiting).
  void Tick();

 private:
  void ShowNote(const char* text);
  void RoundEnded(RoundResult result);

  QPushButton* toggle_;
  QLabel* note_;
  std::function<void(RoundDone)> round_;
  QTimer timer_;
  bool running_ = false;
};

}  // namespace pendra2::flowchart_ui
