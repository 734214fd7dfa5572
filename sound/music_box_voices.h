#pragma once
// The music-box voice every program of the suite sounds with: the virtual board's loudspeaker,
// Chimecraft's and Stepcraft's sound on the PC, and the tunes written out as audio. Free of
// any audio device, so it can be tested, measured and rendered into a file.

#include <array>
#include <cstddef>
#include <cstdint>

namespace pendra2::sound {

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
  int sampleRate() const { return rate_; }

 private:
  // The three partials of a tine, each a sine carried from sample to sample by the
  // recurrence sin(x + w) = 2 cos(w) sin(x) - sin(x - w): a multiply and a subtraction
  // where a sine would be far dearer, which a tune rendered into a file needs.
  struct Partial {
    double now = 0, before = 0;  // the sine at this sample and at the one before
    double twoCos = 0;
    double Next() {
      const double next = twoCos * now - before;
      before = now;
      now = next;
      return next;
    }
  };
  struct Voice {
    std::array<Partial, 3> partials{};
    double level = 0;   // falls each sample
    double decay = 1;   // per-sample factor
    double bright = 0;  // the inharmonic partials' share, which dies fast
    double age = 0;     // samples since the pluck
  };
  int rate_;
  std::array<Voice, 8> voices_{};
  std::size_t next_ = 0;
};

}  // namespace pendra2::sound
