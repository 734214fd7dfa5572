#include "melody/exchange/wav_writing.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "sound/music_box_voices.h"

namespace pendra2::melody::exchange {
namespace {

// A file in memory for libsndfile's virtual I/O, which the suite's save then writes whole.
struct MemoryFile {
  std::vector<uint8_t> bytes;
  sf_count_t at = 0;
};

MemoryFile& Of(void* user) {
  return *static_cast<MemoryFile*>(user);
}

sf_count_t Length(void* user) {
  return static_cast<sf_count_t>(Of(user).bytes.size());
}

sf_count_t Seek(sf_count_t offset, int whence, void* user) {
  MemoryFile& file = Of(user);
  const sf_count_t from = whence == SEEK_CUR   ? file.at
                          : whence == SEEK_END ? static_cast<sf_count_t>(file.bytes.size())
                                               : 0;
  file.at = std::max<sf_count_t>(0, from + offset);
  return file.at;
}

sf_count_t Read(void* out, sf_count_t count, void* user) {
  MemoryFile& file = Of(user);
  const auto size = static_cast<sf_count_t>(file.bytes.size());
  const sf_count_t n = std::clamp<sf_count_t>(size - file.at, 0, count);
  if (n > 0) std::memcpy(out, file.bytes.data() + file.at, static_cast<std::size_t>(n));
  file.at += n;
  return n;
}

sf_count_t Write(const void* in, sf_count_t count, void* user) {
  MemoryFile& file = Of(user);
  const auto end = static_cast<std::size_t>(file.at + count);
  if (end > file.bytes.size()) file.bytes.resize(end);
  std::memcpy(file.bytes.data() + file.at, in, static_cast<std::size_t>(count));
  file.at += count;
  return count;
}

sf_count_t Tell(void* user) {
  return Of(user).at;
}

}  // namespace

std::vector<float> RenderTune(const PlayedTune& tune, int sampleRate) {
  sound::MusicBoxVoices voices(sampleRate);
  const double columnSamples = tune.periodMs * static_cast<double>(sampleRate) / 1000.0;
  const auto tuneSamples =
      static_cast<std::size_t>(std::llround(columnSamples * tune.columns.size()));
  const auto ringOut = static_cast<std::size_t>(sampleRate) * kWavRingOutMs / 1000;
  std::vector<float> samples(tuneSamples + ringOut);
  for (std::size_t c = 0; c < tune.columns.size(); ++c) {
    // Each column starts at its exact sample, so the rounding never adds up over a tune.
    const auto from = static_cast<std::size_t>(std::llround(columnSamples * c));
    const auto to = static_cast<std::size_t>(std::llround(columnSamples * (c + 1)));
    voices.Strike(tune.columns[c]);
    voices.Render(samples.data() + from, static_cast<int>(to - from));
  }
  constexpr std::size_t kPiece = 1024;
  std::size_t end = tuneSamples;
  while (end < samples.size() && !voices.Silent()) {
    const std::size_t n = std::min(kPiece, samples.size() - end);
    voices.Render(samples.data() + end, static_cast<int>(n));
    end += n;
  }
  samples.resize(end);
  return samples;
}

std::optional<std::vector<uint8_t>> WavBytes(const PlayedTune& tune) {
  std::vector<float> samples = RenderTune(tune);
  // Many tines ringing at once can add up past full scale: the whole tune is turned down
  // rather than clipped.
  float peak = 0;
  for (const float s : samples) peak = std::max(peak, std::abs(s));
  if (peak > 0.98f) {
    const float gain = 0.98f / peak;
    for (float& s : samples) s *= gain;
  }
  MemoryFile file;
  SF_VIRTUAL_IO io{Length, Seek, Read, Write, Tell};
  SF_INFO info{};
  info.samplerate = kWavSampleRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* sound = sf_open_virtual(&io, SFM_WRITE, &info, &file);
  if (sound == nullptr) return std::nullopt;
  const auto frames = static_cast<sf_count_t>(samples.size());
  const bool written = sf_writef_float(sound, samples.data(), frames) == frames;
  if (sf_close(sound) != 0 || !written) return std::nullopt;
  return std::move(file.bytes);
}

}  // namespace pendra2::melody::exchange
