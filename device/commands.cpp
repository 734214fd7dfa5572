#include "device/board.h"

#include <algorithm>
#include <chrono>

namespace pendra2::device {

// The device's lock for one exchange, or for a whole image write around its exchanges.
class Board::Turn {
 public:
  explicit Turn(Board& board) : board_(board) {
    if (board_.lockDepth_++ > 0) return;
    board_.error_ = {};
    ++board_.turns_;
    if (!board_.transport_.SharedBetweenPrograms() || board_.link_.writeChannel == kNoHandle) {
      return;
    }
    // Another program holds the lock for one exchange or one image write at a time; far
    // longer means it is stuck, and waiting on would hang us too.
    const auto limit = std::chrono::milliseconds(2 * board_.replyTimeoutMs_ + 10000);
    switch (board_.lock_.Acquire(board_.link_.devicePath, limit, board_.lockWaitNotice_)) {
      case DeviceLock::Result::Held:
        board_.CatchUpWithOthers();
        break;
      case DeviceLock::Result::Unavailable:
        break;
      case DeviceLock::Result::TimedOut:
        board_.Fail(LinkFailure::kBusy);
        ok_ = false;
        break;
    }
  }
  ~Turn() {
    if (--board_.lockDepth_ > 0 || !board_.lock_.held()) return;
    board_.repliesSeen_ = board_.lock_.ReplyCount();
    board_.repliesSeenKnown_ = true;
    // A broken channel is a board that went away; the lock file kept for it would stay.
    const LinkFailure failure = board_.error_.reason;
    if (failure == LinkFailure::kWriteFailed || failure == LinkFailure::kReadFailed) {
      board_.lock_.Discard();
    } else {
      board_.lock_.Release();
    }
  }
  Turn(const Turn&) = delete;
  Turn& operator=(const Turn&) = delete;

  bool ok() const { return ok_; }

 private:
  Board& board_;
  bool ok_ = true;
};

void Board::OpenReadChannel() {
  // Opened during a turn of our own: no other program's exchange is under way, so every
  // reply that reaches the new channel from now on is counted in the lock file. (Counting
  // from a moment outside a turn could take a reply broadcast just before the open for one
  // of ours.) A turn is short, so discovery waits at most for one exchange of another.
  const Turn turn(*this);
  link_.readChannel = transport_.Open(link_.devicePath, Access::Read);
}

void Board::CatchUpWithOthers() {
  const uint64_t count = lock_.ReplyCount();
  if (link_.readChannel != kNoHandle) {
    // The board answers every reader, so each reply another program received while it held
    // the lock came to our read channel too, and may still be on its way: a busy machine can
    // hold the board's copy to us back for as long as any reply.
    if (repliesSeenKnown_ && count > repliesSeen_) {
      const uint64_t pending = std::min<uint64_t>(count - repliesSeen_, 256);
      const int grace = replyTimeoutMs_;
      ReplyReport stale{};
      for (uint64_t i = 0; i < pending; ++i) {
        if (!transport_.Read(link_.readChannel, stale, grace)) break;
      }
    }
    if (!repliesSeenKnown_ || count != repliesSeen_) DropLateReplies();
  }
  repliesSeen_ = count;
  repliesSeenKnown_ = true;
}

bool Board::Fail(LinkFailure reason, std::string detail) {
  error_ = {reason, std::move(detail)};
  return false;
}

bool Board::SendRequest() {
  if (!link_.responding) return Fail(LinkFailure::kNoAnswer);
  if (link_.writeChannel == kNoHandle) return Fail(LinkFailure::kNoBoard, openError_);
  if (replyMissed_) DropLateReplies();
  if (!transport_.Write(link_.writeChannel, request_)) {
    return Fail(LinkFailure::kWriteFailed, transport_.LastErrorText());
  }
  return true;
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
  if (link_.readChannel == kNoHandle) return Fail(LinkFailure::kNoBoard, openError_);
  // Read into a scratch report so that a failed or partial read cannot disturb the bytes
  // the last good reply left.
  ReplyReport incoming = reply_;
  if (!transport_.Read(link_.readChannel, incoming, replyTimeoutMs_)) {
    replyMissed_ = true;
    // A read that ran out of time leaves the platform with nothing to say.
    std::string said = transport_.LastErrorText();
    // Decided before the text is moved into the failure: arguments have no order.
    const LinkFailure reason = said.empty() ? LinkFailure::kNoAnswer : LinkFailure::kReadFailed;
    return Fail(reason, std::move(said));
  }
  incoming[0] = 0;
  reply_ = incoming;
  if (lock_.held()) lock_.SetReplyCount(lock_.ReplyCount() + 1);
  return true;
}

bool Board::Send(uint8_t letter, uint8_t arg) {
  const Turn turn(*this);
  if (!turn.ok()) return false;
  // Only the bytes the command defines change; bytes 3..64 keep what the last request left.
  request_[0] = 0;
  request_[1] = letter;
  request_[2] = arg;
  return SendRequest();
}

bool Board::Exchange(uint8_t letter, uint8_t arg) {
  const Turn turn(*this);
  if (!turn.ok()) return false;
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
  const Turn turn(*this);
  if (!turn.ok()) return false;
  request_[0] = 0;
  const auto data = image.subspan(static_cast<std::size_t>(block) * kBlockBytes, kBlockBytes);
  for (std::size_t i = 0; i < kBlockBytes; ++i) request_[1 + i] = data[i];
  if (!SendRequest()) return false;
  return ReadReply();
}

bool Board::WriteImage(std::span<const uint8_t, kImageBytes> image, const BlockProgress& progress) {
  // One turn for the whole image: the board takes blocks by their place after
  // BeginImageWrite, so another program's request in between would spoil the image.
  const Turn turn(*this);
  if (!turn.ok()) return false;
  if (!BeginImageWrite()) return false;
  for (int block = 0; block < static_cast<int>(kImageBlocks); ++block) {
    if (!ImageBlock(block, image)) return false;
    if (progress) progress(block);
  }
  return true;
}

}  // namespace pendra2::device
