#pragma once
// One process's connection to the board: the BoardLink, the one request and one reply
// buffer, and every command. Commands never test `found`; the callers decide when to send.
// On a link without channels (no board, or a board whose write channel would not open) a
// command simply fails.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "device/board_info.h"
#include "device/board_link.h"
#include "device/board_lock.h"
#include "device/link_error.h"
#include "device/report.h"
#include "device/transport.h"

namespace pendra2::device {

// FindBoard results.
inline constexpr int kBoardFound = 1;
inline constexpr int kNoBoard = 0;
inline constexpr int kInterfaceListUnavailable = -1;  // show kInterfaceListText and end

inline constexpr const char* kInterfaceListText = "Invalid handle";
inline constexpr const char* kInterfaceListCaption = "HID";

// Called after each image block is answered, with the block number 0..7.
using BlockProgress = std::function<void(int block)>;

class Board {
 public:
  explicit Board(Transport& transport);
  Board(Transport& transport, int replyTimeoutMs);
  ~Board();
  Board(const Board&) = delete;
  Board& operator=(const Board&) = delete;

  // Closes the channels of the previous discovery, then looks for the chosen board, or for
  // the first board among the interfaces in the platform's order when none is chosen. Returns
  // kBoardFound, kNoBoard or kInterfaceListUnavailable (found is 0 then).
  int FindBoard();
  void CloseChannels();
  // The board that discovery looks for from now on, by its path; empty for the first one.
  // A chosen board that is not attached is no board, whatever else is.
  void ChooseBoard(std::string path) { chosenPath_ = std::move(path); }
  const std::string& chosenPath() const { return chosenPath_; }
  // Every board interface the last discovery listed, in the platform's order.
  const std::vector<InterfaceInfo>& boardsSeen() const { return boardsSeen_; }
  Transport& transport() const { return transport_; }

  const BoardLink& link() const { return link_; }
  bool found() const { return link_.found == 1; }
  const RequestReport& request() const { return request_; }
  const ReplyReport& reply() const { return reply_; }
  int replyTimeoutMs() const { return replyTimeoutMs_; }

  // Told once when an exchange has to wait for another program using the board.
  void SetLockWaitNotice(LockWaitNotice notice) { lockWaitNotice_ = std::move(notice); }
  // Why the last command failed; ok() after one that succeeded.
  const LinkError& lastError() const { return error_; }
  // How many commands (an image write counts once) have been tried so far.
  uint64_t turns() const { return turns_; }

  // Each returns true when its write (and its read, for commands with a reply) succeeded;
  // only then does the reply buffer hold this command's reply. A failed read leaves the
  // buffer as the previous reply left it, which callers must not take for an answer. On
  // false, lastError() says why.
  bool InfoQuery();
  bool AutoMode(AutoModeArg arg);
  bool Run();
  bool Stop();
  bool ReadInput(int input);  // 1, 2 or 3
  bool PlayNote(uint8_t code);
  bool BeginImageWrite();
  bool ImageBlock(int block, std::span<const uint8_t, kImageBytes> image);
  // BeginImageWrite and the eight blocks, each waiting for its reply. Stops at the first
  // write or read that fails and returns false: the board cannot have the whole image then.
  bool WriteImage(std::span<const uint8_t, kImageBytes> image, const BlockProgress& progress);

  // Readings of the reply buffer, valid after the matching command (or still showing the
  // previous reply when it failed).
  BoardInfo Info() const { return ParseBoardInfo(reply_); }
  bool AutoModeIsOn() const { return reply_[1] == 1; }
  uint16_t InputReading() const { return static_cast<uint16_t>(reply_[2] | (reply_[3] << 8)); }

 private:
  class Turn;  // holds the device's lock for one exchange or one image write

  bool Fail(LinkFailure reason, std::string detail = {});
  bool Send(uint8_t letter, uint8_t arg);
  bool Exchange(uint8_t letter, uint8_t arg);
  bool SendRequest();
  bool ReadReply();
  void DropLateReplies();
  void CatchUpWithOthers();
  void OpenReadChannel();

  Transport& transport_;
  int replyTimeoutMs_;
  BoardLink link_;
  std::string chosenPath_;
  std::vector<InterfaceInfo> boardsSeen_;
  RequestReport request_{};
  ReplyReport reply_{};
  // A reply wait ran out: the answer may still arrive and must not pass for the next one.
  bool replyMissed_ = false;

  DeviceLock lock_;
  int lockDepth_ = 0;
  LockWaitNotice lockWaitNotice_;
  LinkError error_;
  uint64_t turns_ = 0;
  // What the platform said when the last discovery could not open the board's channels.
  std::string openError_;
  // The lock file's reply count that our read channel has caught up with; unknown right
  // after the channels open.
  uint64_t repliesSeen_ = 0;
  bool repliesSeenKnown_ = false;
};

}  // namespace pendra2::device
