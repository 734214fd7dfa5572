#pragma once
// Notes on the PC's loudspeaker in the suite's music-box voice, pushed to Qt Multimedia's
// audio sink. A PC without a sound device is normal (a server, a CI runner): that is said
// once and the program goes on silently.

#include <QAudioFormat>
#include <QObject>
#include <QTimer>
#include <memory>

#include "sound/music_box_voices.h"

class QAudioSink;
class QIODevice;

namespace pendra2::ui {

class MusicBox : public QObject {
  Q_OBJECT
 public:
  explicit MusicBox(bool muted, QObject* parent = nullptr);
  ~MusicBox() override;

  void Strike(uint8_t note);
  void Damp();
  bool muted() const { return muted_; }

 signals:
  // Said once: why there is no sound.
  void unavailable(const QString& why);
  // Every note asked for, heard or not (muted, no device): what tests can see of the sound.
  void struck(int note);

 private:
  bool Open();
  void Pump();

  bool muted_;
  bool failed_ = false;
  QAudioFormat format_;
  std::unique_ptr<QAudioSink> sink_;
  QIODevice* out_ = nullptr;
  std::unique_ptr<sound::MusicBoxVoices> voices_;
  QTimer pump_;
  int quietPumps_ = 0;
};

}  // namespace pendra2::ui
