#pragma once
// Which board, when more than one is plugged in: every board gets a number in the platform's
// order and a short name that stays while it stays plugged in, and a command, a window or a
// script names the board it means by either, or by its path.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/transport.h"

namespace pendra2::device {

struct AttachedBoard {
  int number = 0;    // 1, 2, ... in the platform's order
  std::string name;  // distinct among the boards listed with it
  InterfaceInfo interface;
};

// The boards among the interfaces. A board's name is its serial string, else its port, else
// its path: the first of these that no other board listed with it shares.
std::vector<AttachedBoard> AttachedBoards(const std::vector<InterfaceInfo>& interfaces);

enum class ChoiceFailure {
  kNone,
  kNoBoard,  // nothing asked for, and no board attached
  kSeveral,  // nothing asked for, and more than one board attached
  kUnknown,  // no attached board has that name, path or number
};

struct BoardChoice {
  ChoiceFailure failure = ChoiceFailure::kNone;
  std::optional<AttachedBoard> board;  // the one chosen, when failure is kNone
};

// `wanted` empty: the one board attached. Otherwise the board of that name or path, else the
// board of that number (so a virtual board named "2" is that board, not the second).
BoardChoice ChooseBoard(const std::vector<AttachedBoard>& boards, std::string_view wanted);

}  // namespace pendra2::device
