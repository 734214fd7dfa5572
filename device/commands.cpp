#include "device/board.h"

namespace pendra2::device {

bool Board::SendRequest() {
  if (link_.writeChannel == kNoHandle) return false;
  if (replyMissed_) DropLateReplies();
  return transport_.Write(link_.writeChannel, request_);
}

void Board::DropLateReplies() {
  replyMissed_ = false;
  if (link_.readChannel == kNoHandle) return;
  // Bounded: a board that keeps talking must not keep us here.
  ReplyReport late{};
  for (int i = 0; i < 16 && transport_.Read(link_.readChannel, late, 0); ++i) {
  }
}

bool Board::ReadReply() {
  if (link_.readChannel == kNoHandle) return false;
  // Read into a scratch report so that a failed or partial read cannot disturb the bytes
  // the last good reply left.
  ReplyReport incoming = reply_;
  if (!transport_.Read(link_.readChannel, incoming, replyTimeoutMs_)) {
    replyMissed_ = true;
    return false;
  }
  incoming[0] = 0;
  reply_ = incoming;
  return true;
}

bool Board::Send(uint8_t letter, uint8_t arg) {
  // Only the bytes the command defines change; bytes 3..64 keep what the last request left.
  request_[0] = 0;
  request_[1] = letter;
  request_[2] = arg;
  return SendRequest();
}

bool Board::Exchange(uint8_t letter, uint8_t arg) {
  if (!Send(letter, arg)) return false;
  return ReadReply();
}

bool Board::InfoQuery() {
  return Exchange(letter::kInfoQuery, 0);
}

bool Board::AutoMode(AutoModeArg arg) {
  return Exchange(letter::kAutoMode, static_cast<uint8_t>(arg));
}

bool Board::Run() {
  return Send(letter::kRun, 0);
}

bool Board::Stop() {
  return Send(letter::kStop, 0);
}

bool Board::ReadInput(int input) {
  switch (input) {
    case 1:
      return Exchange(letter::kReadInput1, 0);
    case 2:
      return Exchange(letter::kReadInput2, 0);
    case 3:
      return Exchange(letter::kReadInput3, 0);
    default:
      return false;
  }
}

bool Board::PlayNote(uint8_t code) {
  return Send(letter::kPlayNote, code);
}

bool Board::BeginImageWrite() {
  return Exchange(letter::kBeginImageWrite, 0);
}

bool Board::ImageBlock(int block, std::span<const uint8_t, kImageBytes> image) {
  if (block < 0 || block >= static_cast<int>(kImageBlocks)) return false;
  request_[0] = 0;
  const auto data = image.subspan(static_cast<std::size_t>(block) * kBlockBytes, kBlockBytes);
  for (std::size_t i = 0; i < kBlockBytes; ++i) request_[1 + i] = data[i];
  if (!SendRequest()) return false;
  return ReadReply();
}

bool Board::WriteImage(std::span<const uint8_t, kImageBytes> image, const BlockProgress& progress) {
  if (!BeginImageWrite()) return false;
  for (int block = 0; block < static_cast<int>(kImageBlocks); ++block) {
    if (!ImageBlock(block, image)) return false;
    if (progress) progress(block);
  }
  return true;
}

}  // namespace pendra2::device
