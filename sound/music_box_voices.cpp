#include "sound/music_box_voices.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "board_image/layout.h"

namespace pendra2::sound {
namespace {

constexpr double kC1Hz = 523.25;  // C5
// A bright pluck: the fundamental, and the comb's inharmonic partials above it.
constexpr std::array<double, 3> kPartialRatios{1.0, 2.76, 5.4};
constexpr double kSecondShare = 0.35;
constexpr double kThirdShare = 0.15;
constexpr double kAudible = 1e-4;
// Below this the upper partials are dropped: they are long inaudible by then.
constexpr double kBrightGone = 1e-6;

}  // namespace

void MusicBoxVoices::Strike(uint8_t note) {
  if (note > board_image::kHighestNote) return;
  const double hz = kC1Hz * std::pow(2.0, note / 12.0);
  Voice& v = voices_[next_];
  next_ = (next_ + 1) % voices_.size();
  const double step = 2 * std::numbers::pi * hz / rate_;
  for (std::size_t p = 0; p < v.partials.size(); ++p) {
    const double w = step * kPartialRatios[p];
    // Phase 0 now, so the sample before lies at -w.
    v.partials[p] = {0.0, -std::sin(w), 2 * std::cos(w)};
  }
  v.level = 0.2;
  // Lower tines ring longer, as on a real comb.
  const double seconds = 1.6 - 0.04 * note;
  v.decay = std::exp(-1.0 / (seconds * rate_ / 5.0));
  v.bright = 1.0;
  v.age = 0;
}

void MusicBoxVoices::Damp() {
  const double fade = std::exp(-1.0 / (0.03 * rate_));
  for (auto& v : voices_) v.decay = std::min(v.decay, fade);
}

bool MusicBoxVoices::Silent() const {
  for (const auto& v : voices_) {
    if (v.level > kAudible) return false;
  }
  return true;
}

void MusicBoxVoices::Render(float* out, int count) {
  std::fill(out, out + std::max(count, 0), 0.0f);
  const double attack = rate_ * 0.002;
  const double brightFall = std::exp(-1.0 / (rate_ * 0.08));
  for (auto& v : voices_) {
    if (v.level <= kAudible) continue;
    auto& [first, second, third] = v.partials;
    for (int i = 0; i < count; ++i) {
      const double onset = v.age < attack ? v.age / attack : 1.0;
      double s = first.now;
      if (v.bright > kBrightGone) {
        s += v.bright * (kSecondShare * second.now + kThirdShare * third.now);
        second.Next();
        third.Next();
        v.bright *= brightFall;
      }
      out[i] += static_cast<float>(s * v.level * onset);
      first.Next();
      v.level *= v.decay;
      v.age += 1;
    }
  }
}

}  // namespace pendra2::sound
