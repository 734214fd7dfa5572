#include "device/board_info.h"

namespace pendra2::device {
namespace {

std::string Field(const ReplyReport& reply, std::size_t offset, std::size_t length) {
  std::string text;
  for (std::size_t i = offset; i < offset + length; ++i) {
    if (reply[i] == 0) break;
    text.push_back(static_cast<char>(reply[i]));
  }
  return text;
}

}  // namespace

BoardInfo ParseBoardInfo(const ReplyReport& reply) {
  BoardInfo info;
  info.testStatus = Field(reply, 1, 2);
  info.version = Field(reply, 9, 8);
  info.generation = reply[10];
  info.releaseDate = Field(reply, 19, 8);
  info.buildNumber = Field(reply, 29, 5);
  return info;
}

}  // namespace pendra2::device
