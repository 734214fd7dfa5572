#include "virtual_board/music_box.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace pendra2::virtual_board {
namespace {

constexpr int kSampleRate = 22050;
constexpr int kPumpMs = 20;
// How far ahead of the loudspeaker the samples are written.
constexpr qint64 kBufferMs = 60;
// After this long without a sounding tine the sink is suspended, so an idle board costs
// no CPU.
constexpr int kQuietPumpsBeforeSuspend = 2000 / kPumpMs;
constexpr uint8_t kHighestNote = 22;
constexpr double kC1Hz = 523.25;  // C5

}  // namespace

void MusicBoxVoices::Strike(uint8_t note) {
  if (note > kHighestNote) return;
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

MusicBox::MusicBox(bool muted, QObject* parent) : QObject(parent), muted_(muted) {
  pump_.setInterval(kPumpMs);
  connect(&pump_, &QTimer::timeout, this, &MusicBox::Pump);
}

MusicBox::~MusicBox() {
  if (sink_) sink_->stop();
}

bool MusicBox::Open() {
  if (sink_) return true;
  if (failed_) return false;
  // Opened at the first note only: a board that never sounds never touches the audio system.
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) {
    failed_ = true;
    emit unavailable(QStringLiteral("音を出す装置が見つからないため、音なしで続けます。"));
    return false;
  }
  format_.setSampleRate(kSampleRate);
  format_.setChannelCount(1);
  format_.setSampleFormat(QAudioFormat::Int16);
  if (!device.isFormatSupported(format_)) format_ = device.preferredFormat();
  if (format_.sampleFormat() != QAudioFormat::Int16 &&
      format_.sampleFormat() != QAudioFormat::Float) {
    format_.setSampleFormat(QAudioFormat::Int16);
  }
  voices_ = std::make_unique<MusicBoxVoices>(format_.sampleRate());
  sink_ = std::make_unique<QAudioSink>(device, format_);
  sink_->setBufferSize(format_.bytesForDuration(kBufferMs * 2000));
  out_ = sink_->start();
  if (!out_ || sink_->error() != QAudio::NoError) {
    sink_.reset();
    out_ = nullptr;
    failed_ = true;
    emit unavailable(QStringLiteral("音を出す装置を開けないため、音なしで続けます。"));
    return false;
  }
  return true;
}

void MusicBox::Strike(uint8_t note) {
  if (muted_ || note > kHighestNote || !Open()) return;
  voices_->Strike(note);
  quietPumps_ = 0;
  if (sink_->state() == QAudio::SuspendedState) sink_->resume();
  if (!pump_.isActive()) pump_.start();
  Pump();
}

void MusicBox::Damp() {
  if (voices_) voices_->Damp();
}

void MusicBox::Pump() {
  if (!sink_ || !out_) return;
  if (voices_->Silent() && ++quietPumps_ > kQuietPumpsBeforeSuspend) {
    pump_.stop();
    sink_->suspend();
    return;
  }
  const int channels = std::max(1, format_.channelCount());
  const int frameBytes = format_.bytesPerFrame();
  const qsizetype room =
      std::min<qsizetype>(sink_->bytesFree(), format_.bytesForDuration(kBufferMs * 1000));
  const int frames = frameBytes > 0 ? static_cast<int>(room / frameBytes) : 0;
  if (frames <= 0) return;
  std::vector<float> mono(static_cast<std::size_t>(frames));
  voices_->Render(mono.data(), frames);
  QByteArray bytes(static_cast<qsizetype>(frames) * frameBytes, Qt::Uninitialized);
  if (format_.sampleFormat() == QAudioFormat::Float) {
    auto* p = reinterpret_cast<float*>(bytes.data());
    for (int f = 0; f < frames; ++f) {
      for (int c = 0; c < channels; ++c) *p++ = mono[static_cast<std::size_t>(f)];
    }
  } else {
    auto* p = reinterpret_cast<int16_t*>(bytes.data());
    for (int f = 0; f < frames; ++f) {
      const float s = std::clamp(mono[static_cast<std::size_t>(f)], -1.0f, 1.0f);
      for (int c = 0; c < channels; ++c) *p++ = static_cast<int16_t>(s * 32000);
    }
  }
  out_->write(bytes);
}

}  // namespace pendra2::virtual_board
