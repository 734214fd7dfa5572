#include "device/board_choice.h"

#include <algorithm>
#include <charconv>

namespace pendra2::device {
namespace {

// How many of the boards give `key` the same non-empty value.
template <typename Key>
std::size_t Sharing(const std::vector<InterfaceInfo>& boards, const std::string& value, Key key) {
  return static_cast<std::size_t>(std::count_if(
      boards.begin(), boards.end(), [&](const InterfaceInfo& i) { return key(i) == value; }));
}

}  // namespace

std::vector<AttachedBoard> AttachedBoards(const std::vector<InterfaceInfo>& interfaces) {
  std::vector<InterfaceInfo> boards;
  for (const InterfaceInfo& i : interfaces) {
    if (IsBoard(i.vendorId, i.productId)) boards.push_back(i);
  }
  const auto serial = [](const InterfaceInfo& i) -> const std::string& { return i.serial; };
  const auto port = [](const InterfaceInfo& i) -> const std::string& { return i.port; };
  std::vector<AttachedBoard> attached;
  for (const InterfaceInfo& i : boards) {
    // Cheap boards often share one serial string, and a platform may say nothing of ports.
    std::string name = i.path;
    if (!i.serial.empty() && Sharing(boards, i.serial, serial) == 1) {
      name = i.serial;
    } else if (!i.port.empty() && Sharing(boards, i.port, port) == 1) {
      name = i.port;
    }
    // A serial that is another board's port (or path) must not make two boards one name.
    const bool taken = std::any_of(attached.begin(), attached.end(),
                                   [&](const AttachedBoard& a) { return a.name == name; });
    if (taken) name = i.path;
    attached.push_back({static_cast<int>(attached.size()) + 1, std::move(name), i});
  }
  return attached;
}

BoardChoice ChooseBoard(const std::vector<AttachedBoard>& boards, std::string_view wanted) {
  if (wanted.empty()) {
    if (boards.empty()) return {ChoiceFailure::kNoBoard, std::nullopt};
    if (boards.size() > 1) return {ChoiceFailure::kSeveral, std::nullopt};
    return {ChoiceFailure::kNone, boards.front()};
  }
  for (const AttachedBoard& b : boards) {
    if (b.name == wanted || b.interface.path == wanted) return {ChoiceFailure::kNone, b};
  }
  int number = 0;
  const auto [end, error] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), number);
  if (error == std::errc{} && end == wanted.data() + wanted.size() && number >= 1 &&
      number <= static_cast<int>(boards.size())) {
    return {ChoiceFailure::kNone, boards[static_cast<std::size_t>(number) - 1]};
  }
  return {ChoiceFailure::kUnknown, std::nullopt};
}

}  // namespace pendra2::device
