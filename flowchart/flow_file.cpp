#include "flowchart/flow_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "flowchart/recompute.h"
#include "interaction/save_whole.h"

namespace pendra2::flowchart {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRecordBytes = sizeof(StepRecord);
constexpr std::size_t kTableBytes = kStepSlots * kRecordBytes;

void Put16(std::array<uint8_t, kFileHeaderBytes>& h, std::size_t at, uint32_t v) {
  h[at] = static_cast<uint8_t>(v & 0xFF);
  h[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

uint16_t Get16(const std::array<uint8_t, kFileHeaderBytes>& h, std::size_t at) {
  return static_cast<uint16_t>(h[at] | (h[at + 1] << 8));
}

interaction::Outcome Failure(std::string_view message) {
  return interaction::MessageText{message, kErrorCaption};
}

// The header as it will be saved: only magic, the 0x57 field, count, version (with its NUL;
// the bytes behind it stay) and tempoIndex are written over the buffer.
std::array<uint8_t, kFileHeaderBytes> HeaderForSave(const FlowProgram& program) {
  auto h = program.headerBuffer;
  h[0] = 'F';
  h[1] = 'L';
  h[2] = 0x57;
  h[3] = h[4] = h[5] = 0;
  Put16(h, 6, static_cast<uint32_t>(program.count));
  std::memcpy(&h[8], kProgramVersion.data(), kProgramVersion.size());
  h[8 + kProgramVersion.size()] = 0;
  Put16(h, 24, static_cast<uint32_t>(program.tempoIndex));
  return h;
}

// A loaded program must keep the editor's invariants; anything else came from a damaged or
// foreign file and would leave the editor indexing outside its program.
bool CountAccepted(int count) {
  return count >= 2 && count <= kMaxSteps;
}

}  // namespace

bool VersionAccepted(const std::array<uint8_t, kFileHeaderBytes>& header) {
  const uint8_t first = header[8];
  const uint8_t third = header[10];
  return first == '1' || (first == '4' && third < '3');
}

interaction::Outcome SaveFlowFile(FlowProgram& program, const fs::path& path) {
  const auto header = HeaderForSave(program);
  std::vector<uint8_t> bytes(kFlowFileBytes);
  std::memcpy(bytes.data(), header.data(), header.size());
  std::memcpy(bytes.data() + header.size(), program.steps.data(), kTableBytes);
  switch (interaction::SaveWhole(path, bytes).result) {
    case interaction::SaveResult::kSaved:
      break;
    case interaction::SaveResult::kMayBeDamaged:
      return interaction::kSaveMayHaveDamagedFile;
    case interaction::SaveResult::kUnchanged:
      return Failure(kSaveOpenError);
  }
  program.headerBuffer = header;
  program.modified = false;
  return interaction::Outcome::Ok();
}

bool HasProgramMagic(std::span<const uint8_t> bytes) {
  return bytes.size() >= 2 && bytes[0] == 'F' && bytes[1] == 'L';
}

interaction::Outcome LoadFlowBytes(FlowProgram& program, std::span<const uint8_t> bytes,
                                   std::string_view fileName) {
  if (!HasProgramMagic(bytes)) {
    return interaction::NamingFile(interaction::MessageText{kNotAProgram, kErrorCaption}, fileName);
  }
  std::array<uint8_t, kFileHeaderBytes> header{};
  if (bytes.size() < header.size()) return Failure(kTruncatedFile);
  std::memcpy(header.data(), bytes.data(), header.size());
  if (!VersionAccepted(header)) {
    program.headerBuffer = header;
    return Failure(kVersionRefused);
  }
  const auto records = bytes.subspan(header.size());
  const int count = Get16(header, 6);
  if (!CountAccepted(count)) return Failure(kDamagedFile);
  if (records.size() < static_cast<std::size_t>(count) * kRecordBytes) {
    return Failure(kTruncatedFile);
  }
  // Only the records the file holds are replaced; slots a short file does not reach keep
  // what the table held. The ends are checked on the bytes read before anything changes.
  StepRecord first;
  StepRecord last;
  std::memcpy(&first, records.data(), kRecordBytes);
  std::memcpy(&last, records.data() + (count - 1) * kRecordBytes, kRecordBytes);
  if (!first.Is(StepKind::Start) || !last.Is(StepKind::End)) return Failure(kDamagedFile);

  program.headerBuffer = header;
  std::memcpy(reinterpret_cast<uint8_t*>(program.steps.data()), records.data(),
              std::min(records.size(), kTableBytes));
  program.count = count;
  Recompute(program);  // an oversize program loads; the transfer refuses it later
  program.modified = false;
  return interaction::Outcome::Ok();
}

interaction::Outcome LoadFlowFile(FlowProgram& program, const fs::path& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return Failure(kLoadOpenError);
  std::ifstream in(path, std::ios::binary);
  if (!in) return Failure(kLoadOpenError);
  // Anything past the 256 records is not part of the program.
  std::vector<uint8_t> bytes(kFlowFileBytes);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return Failure(kLoadOpenError);
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  const std::u8string name = path.filename().u8string();
  return LoadFlowBytes(program, bytes, std::string(name.begin(), name.end()));
}

}  // namespace pendra2::flowchart
