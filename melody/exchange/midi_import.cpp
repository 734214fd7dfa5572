#include "melody/exchange/midi_import.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "melody/exchange/import_texts.h"
#include "melody/exchange/smf_reading.h"
#include "melody/tune_file.h"

namespace pendra2::melody::exchange {

MidiFile MidiFromBytes(std::span<const uint8_t> bytes, std::string_view name) {
  MidiFile file;
  const auto refuse = [&](const interaction::MessageText& message) {
    file.outcome = interaction::NamingFile(message, name);
    return file;
  };
  if (bytes.size() > kMaxMidiFileBytes) return refuse(kMidiTooLargeMessage);
  MidiReading reading = ReadSmf(bytes);
  switch (reading.verdict) {
    case SmfVerdict::kSound:
      break;
    case SmfVerdict::kNotMidi:
      return refuse(kNotMidiMessage);
    case SmfVerdict::kUnsupported:
      return refuse(kMidiUnsupportedMessage);
    case SmfVerdict::kDamaged:
      return refuse(kMidiDamagedMessage);
  }
  if (reading.song.parts.empty())
    return refuse(reading.song.drumNotes > 0 ? kMidiDrumsOnlyMessage : kMidiNoNotesMessage);
  file.song = std::move(reading.song);
  return file;
}

MidiFile ReadMidiFile(const std::string& path) {
  const std::string_view name = FileNameOf(path);
  MidiFile failed;
  failed.outcome = interaction::NamingFile(kMidiOpenErrorMessage, name);
  std::error_code ec;
  const std::filesystem::path file(path);
  if (std::filesystem::is_directory(file, ec)) return failed;
  std::ifstream in(file, std::ios::binary);
  if (!in) return failed;
  // Read in pieces and only just past the limit: a device or a huge file costs nothing.
  std::vector<uint8_t> bytes;
  std::array<char, 1 << 16> piece{};
  while (bytes.size() <= kMaxMidiFileBytes) {
    in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    bytes.insert(bytes.end(), piece.begin(), piece.begin() + in.gcount());
    if (!in) break;
  }
  if (in.bad()) return failed;
  return MidiFromBytes(bytes, name);
}

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<uint8_t>(text[i]);
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5 ? 4
                                                             : 0;
    if (length == 0 || text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<uint8_t>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    // Overlong forms and the surrogates, which no UTF-8 text holds.
    const auto second = static_cast<uint8_t>(text[i + 1 < text.size() ? i + 1 : i]);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
      return false;
    i += length;
  }
  return true;
}

interaction::FileRequest MidiOpenRequest() {
  return {interaction::FileDialogKind::Open, kImportCaption, "MIDI FILE (*.mid *.midi)",
          "*.mid *.midi", "mid"};
}

}  // namespace pendra2::melody::exchange
