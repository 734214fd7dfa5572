#include "melody/exchange/smf_writing.h"

#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "melody/exchange/score_from_midi.h"
#include "melody/exchange/smf_handle.h"

namespace pendra2::melody::exchange {
namespace {

// libsmf saves only to a file it names itself: a file of our own in the temporary folder,
// created under a fresh name and gone again once its bytes are read.
class ScratchFile {
 public:
  ScratchFile() {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    std::string name = (ec ? std::filesystem::path("/tmp") : folder) / "pendra2-midi-XXXXXX";
    fd_ = mkstemp(name.data());
    if (fd_ >= 0) path_ = name;
  }
  ~ScratchFile() {
    if (fd_ < 0) return;
    close(fd_);
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  bool ok() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }

 private:
  int fd_ = -1;
  std::string path_;
};

bool Add(smf_track_t* track, int pulses, std::initializer_list<uint8_t> bytes) {
  std::array<uint8_t, 8> data{};
  std::copy(bytes.begin(), bytes.end(), data.begin());
  smf_event_t* event = smf_event_new_from_pointer(data.data(), static_cast<int>(bytes.size()));
  if (event == nullptr) return false;
  smf_track_add_event_pulses(track, event, pulses);
  return true;
}

}  // namespace

std::optional<std::vector<uint8_t>> MidiBytes(const PlayedTune& tune) {
  const SmfHandle smf(smf_new());
  if (!smf || smf_set_ppqn(smf.get(), kExportPpqn) != 0) return std::nullopt;
  smf_track_t* track = smf_track_new();
  if (track == nullptr) return std::nullopt;
  smf_add_track(smf.get(), track);  // the file owns it from now on

  const int micros = tune.periodMs * 2000;  // a column is an eighth note
  bool added = Add(track, 0,
                   {0xFF, 0x51, 0x03, static_cast<uint8_t>(micros >> 16),
                    static_cast<uint8_t>(micros >> 8), static_cast<uint8_t>(micros)});
  added = added && Add(track, 0, {0xC0, kMusicBoxProgram});
  for (std::size_t c = 0; c < tune.columns.size() && added; ++c) {
    const uint8_t code = tune.columns[c];
    if (code > kHighestNote) continue;
    const int at = static_cast<int>(c) * kExportColumnPulses;
    const auto key = static_cast<uint8_t>(kKeyOfC1 + code);
    added = Add(track, at, {0x90, key, kExportVelocity}) &&
            Add(track, at + kExportColumnPulses, {0x80, key, 0});
  }
  const int end = static_cast<int>(tune.columns.size()) * kExportColumnPulses;
  if (!added || smf_track_add_eot_pulses(track, end) != 0) return std::nullopt;

  const ScratchFile scratch;
  if (!scratch.ok() || smf_save(smf.get(), scratch.path().c_str()) != 0) return std::nullopt;
  std::ifstream in(scratch.path(), std::ios::binary);
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad() || bytes.empty()) return std::nullopt;
  return bytes;
}

}  // namespace pendra2::melody::exchange
