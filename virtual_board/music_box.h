#pragma once
// The board's notes on the PC's loudspeaker: a small music-box voice made here, pushed to
// Qt Multimedia's audio sink. A PC without a sound device is normal (a server, a CI
// runner): that is said once and the board goes on silently.

#include <QAudioFormat>
#include <QObject>
#include <QTimer>
#include <array>
#include <memory>
#include <string>

class QAudioSink;
class QIODevice;

namespace pendra2::virtual_board {

// The sound itself, free of the audio device so it can be tested and measured.
class MusicBoxVoices {
 public:
  explicit MusicBoxVoices(int sampleRate) : rate_(sampleRate) {}
  // Plucks a tine: note codes 0-22, C1 taken as the C two octaves above middle C, where a
  // music box sings. Other codes pluck nothing.
  void Strike(uint8_t note);
  // Lets every tine die away within a moment (Stop, a silence sent as a note): a short
  // fade instead of a cut, which would click.
  void Damp();
  // Mixes the next `count` samples into `out` (mono, -1..1).
  void Render(float* out, int count);
  bool Silent() const;

 private:
  struct Voice {
    double phase = 0, step = 0;  // radians per sample of the fundamental
    double level = 0;            // falls each sample
    double decay = 1;            // per-sample factor
    double age = 0;              // samples since the pluck
  };
  int rate_;
  std::array<Voice, 8> voices_{};
  std::size_t next_ = 0;
};

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

 private:
  bool Open();
  void Pump();

  bool muted_;
  bool failed_ = false;
  QAudioFormat format_;
  std::unique_ptr<QAudioSink> sink_;
  QIODevice* out_ = nullptr;
  std::unique_ptr<MusicBoxVoices> voices_;
  QTimer pump_;
  int quietPumps_ = 0;
};

}  // namespace pendra2::virtual_board
