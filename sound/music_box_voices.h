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

}  // namespace pendra2::sound
