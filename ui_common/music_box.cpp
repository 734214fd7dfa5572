#include "ui_common/music_box.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <algorithm>
#include <vector>

#include "board_image/layout.h"

namespace pendra2::ui {
namespace {

constexpr int kSampleRate = 22050;
constexpr int kPumpMs = 20;
// How far ahead of the loudspeaker the samples are written.
constexpr qint64 kBufferMs = 60;
// After this long without a sounding tine the sink is suspended, so an idle board costs
// no CPU.
constexpr int kQuietPumpsBeforeSuspend = 2000 / kPumpMs;

}  // namespace

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
  voices_ = std::make_unique<sound::MusicBoxVoices>(format_.sampleRate());
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
  if (note > board_image::kHighestNote) return;
  emit struck(note);
  if (muted_ || !Open()) return;
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

}  // namespace pendra2::ui
