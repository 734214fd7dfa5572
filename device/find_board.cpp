#include "device/board.h"
#include "device/reply_timeout.h"

namespace pendra2::device {

Board::Board(Transport& transport) : Board(transport, ReplyTimeoutMs()) {}

Board::Board(Transport& transport, int replyTimeoutMs)
    : transport_(transport), replyTimeoutMs_(replyTimeoutMs) {}

Board::~Board() {
  CloseChannels();
}

void Board::CloseChannels() {
  if (link_.readChannel != kNoHandle) transport_.Close(link_.readChannel);
  if (link_.writeChannel != kNoHandle) transport_.Close(link_.writeChannel);
  link_.readChannel = kNoHandle;
  link_.writeChannel = kNoHandle;
  openError_.clear();
  replyMissed_ = false;
  repliesSeenKnown_ = false;
}

int Board::FindBoard() {
  // The editors rediscover on every repaint; closing here keeps that from piling up handles.
  CloseChannels();
  link_.found = 0;
  link_.responding = true;
  boardsSeen_.clear();
  const InterfaceList list = transport_.Enumerate();
  if (!list.ok) return kInterfaceListUnavailable;
  for (const InterfaceInfo& info : list.interfaces) {
    if (IsBoard(info.vendorId, info.productId)) boardsSeen_.push_back(info);
  }

  // The identifiers come with the list, so only a candidate is opened: other devices of the
  // user are never touched. The outcome is the same as probing every interface first.
  for (const InterfaceInfo& info : boardsSeen_) {
    if (!chosenPath_.empty() && info.path != chosenPath_) continue;
    if (!info.responding) {
      link_.devicePath = info.path;
      link_.responding = false;
      link_.found = 1;
      return kBoardFound;
    }
    // An interface someone else holds exclusively is passed over like a foreign one.
    const Handle probe = transport_.Open(info.path, Access::ReadWrite);
    if (probe == kNoHandle) continue;
    transport_.Close(probe);

    link_.devicePath = info.path;
    link_.writeChannel = transport_.Open(info.path, Access::Write);
    if (link_.writeChannel != kNoHandle) {
      OpenReadChannel();
    }
    if (link_.writeChannel == kNoHandle || link_.readChannel == kNoHandle) {
      openError_ = transport_.LastErrorText();
    }
    // Found even when the channels would not open; the commands then fail quietly.
    link_.found = 1;
    return kBoardFound;
  }
  return kNoBoard;
}

}  // namespace pendra2::device
