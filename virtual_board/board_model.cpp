#include "virtual_board/board_model.h"

namespace pendra2::virtual_board {
namespace {

void PutText(Report& reply, std::size_t offset, std::size_t length, const std::string& text) {
  for (std::size_t i = 0; i < length; ++i) {
    reply[offset + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : ' ';
  }
}

}  // namespace

Report BoardModel::InfoReply() const {
  Report reply{};
  PutText(reply, 1, 2, identity_.status);
  PutText(reply, 9, 8, identity_.version);
  PutText(reply, 19, 8, identity_.date);
  PutText(reply, 29, 5, identity_.build);
  return reply;
}

std::optional<Report> BoardModel::Receive(const Report& request) {
  log_.push_back(request);
  lastEvent_ = Event::None;

  // Blocks carry no letter: after 'S' the next eight reports are image data, whatever
  // their first byte says.
  if (blocksPending_ > 0) {
    const int block = static_cast<int>(device::kImageBlocks) - blocksPending_;
    for (std::size_t i = 0; i < device::kBlockBytes; ++i) {
      incoming_[static_cast<std::size_t>(block) * device::kBlockBytes + i] = request[1 + i];
    }
    --blocksPending_;
    if (blocksPending_ == 0) {
      image_ = incoming_;
      ++imagesWritten_;
      lastEvent_ = Event::ImageWritten;
    }
    Report reply{};
    reply[1] = static_cast<uint8_t>(block);
    return reply;
  }

  const uint8_t arg = request[2];
  Report reply{};
  switch (request[1]) {
    case device::letter::kInfoQuery:
      return InfoReply();
    case device::letter::kAutoMode:
      if (arg == static_cast<uint8_t>(device::AutoModeArg::On)) autoMode_ = true;
      if (arg == static_cast<uint8_t>(device::AutoModeArg::Off)) autoMode_ = false;
      reply[1] = autoMode_ ? 1 : 0;
      return reply;
    case device::letter::kRun:
      running_ = true;
      lastEvent_ = Event::Run;
      return std::nullopt;
    case device::letter::kStop:
      running_ = false;
      lastEvent_ = Event::Stop;
      return std::nullopt;
    case device::letter::kBeginImageWrite:
      // A program is not run while it is being replaced.
      running_ = false;
      lastEvent_ = Event::Stop;
      blocksPending_ = static_cast<int>(device::kImageBlocks);
      reply[1] = device::letter::kBeginImageWrite;
      return reply;
    case device::letter::kReadInput1:
    case device::letter::kReadInput2:
    case device::letter::kReadInput3: {
      const int index = request[1] == device::letter::kReadInput1   ? 0
                        : request[1] == device::letter::kReadInput2 ? 1
                                                                    : 2;
      reply[1] = request[1];
      reply[2] = static_cast<uint8_t>(inputs_[static_cast<std::size_t>(index)] & 0xFF);
      reply[3] = static_cast<uint8_t>(inputs_[static_cast<std::size_t>(index)] >> 8);
      return reply;
    }
    case device::letter::kPlayNote:
      note_ = arg;
      lastEvent_ = Event::Note;
      return std::nullopt;
    default:
      // Letters the board does not know are ignored without an answer.
      return std::nullopt;
  }
}

std::string HexLine(const Report& report) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string line;
  line.reserve(report.size() * 2);
  for (const uint8_t b : report) {
    line.push_back(kDigits[b >> 4]);
    line.push_back(kDigits[b & 0x0F]);
  }
  return line;
}

}  // namespace pendra2::virtual_board
