#pragma once
// 試聴 in the tune dialog: the step's tune on the PC's loudspeaker, its loops played out and
// paced by its tempo, as the board would play it. Nothing waits for it; closing the dialog
// ends it.

#include <QObject>
#include <QTimer>
#include <functional>

#include "flowchart/step_record.h"
#include "melody/played_tune.h"
#include "melody/score.h"

namespace pendra2::ui {
class MusicBox;
}

namespace pendra2::flowchart_ui {

// The tune a tune step holds ('T', its tempo byte, the columns to the end mark) as a score;
// the tempo row is the byte's, else `tempoIndex`. Nothing for a step without a tune.
std::optional<melody::Score> StepTune(const flowchart::StepRecord& step, int tempoIndex);

class TunePreview final : public QObject {
 public:
  // `sound` may be null: then nothing is heard, but the preview still runs its course.
  explicit TunePreview(ui::MusicBox* sound, QObject* parent = nullptr);
  ~TunePreview() override;

  void Play(const melody::Score& score);
  // Silences the tines at once.
  void Stop();
  bool playing() const { return timer_.isActive(); }
  // When the tune has played to its end by itself.
  std::function<void()> ended;

 private:
  void Next();

  ui::MusicBox* sound_;
  QTimer timer_;
  melody::PlayedTune tune_;
  std::size_t at_ = 0;
};

}  // namespace pendra2::flowchart_ui
