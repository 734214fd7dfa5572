#include "sound/music_box_voices.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "board_image/layout.h"

namespace pendra2::sound {
namespace {

constexpr double kC1Hz = 523.25;  // C5

}  // namespace

void MusicBoxVoices::Strike(uint8_t note) {
  if (note > board_image::kHighestNote) return;
  const double hz = kC1Hz * std::pow(2.0, note / 12.0);
  Voice& v = voices_[next_];
  next_ = (next_ + 1) % voices_.size();
  v.phase = 0;
  v.step = 2 * std::numbers::pi * hz / rate_;
  v.level = 0.2;
  // Lower tines ring longer, as on a real comb.
  const double seconds = 1.6 - 0.04 * note;
  v.decay = std::exp(-1.0 / (seconds * rate_ / 5.0));
  v.age = 0;
}

void MusicBoxVoices::Damp() {
  const double fade = std::exp(-1.0 / (0.03 * rate_));
  for (auto& v : voices_) v.decay = std::min(v.decay, fade);
}

bool MusicBoxVoices::Silent() const {
  for (const auto& v : voices_) {
    if (v.level > 1e-4) return false;
  }
  return true;
}

void MusicBoxVoices::Render(float* out, int count) {
  for (int i = 0; i < count; ++i) out[i] = 0;
  const double attack = rate_ * 0.002;
  for (auto& v : voices_) {
    if (v.level <= 1e-4) continue;
    for (int i = 0; i < count; ++i) {
      // A bright pluck: the fundamental, and the comb's inharmonic partials, which die fast.
      const double onset = v.age < attack ? v.age / attack : 1.0;
      const double bright = std::exp(-v.age / (rate_ * 0.08));
      const double s = std::sin(v.phase) + 0.35 * bright * std::sin(v.phase * 2.76) +
                       0.15 * bright * std::sin(v.phase * 5.4);
      out[i] += static_cast<float>(s * v.level * onset);
      v.phase += v.step;
      if (v.phase > 2 * std::numbers::pi * 1000) v.phase -= 2 * std::numbers::pi * 1000;
      v.level *= v.decay;
      v.age += 1;
    }
  }
}

}  // namespace pendra2::sound
