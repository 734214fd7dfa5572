#include "melody/live_note.h"

#include "melody/codes.h"
#include "melody/playback.h"
#include "melody/score_geometry.h"

namespace pendra2::melody {
namespace {

struct KeyRange {
  int top;
  int bottom;
  int note;
};

constexpr int kBlackKeyHalf = 39;

constexpr std::array<KeyRange, 10> kBlackKeys{{
    {395, 412, 1},
    {359, 376, 3},
    {305, 322, 6},
    {270, 287, 8},
    {236, 253, 10},
    {178, 195, 13},
    {146, 163, 15},
    {88, 105, 18},
    {54, 71, 20},
    {21, 38, 22},
}};

constexpr std::array<KeyRange, 13> kWhiteKeys{{
    {406, 428, 0},
    {370, 401, 2},
    {344, 365, 4},
    {316, 339, 5},
    {281, 311, 7},
    {247, 276, 9},
    {217, 242, 11},
    {189, 212, 12},
    {157, 184, 14},
    {127, 152, 16},
    {99, 122, 17},
    {65, 94, 19},
    {32, 60, 21},
}};

template <std::size_t N>
std::optional<int> Find(const std::array<KeyRange, N>& keys, int y) {
  for (const auto& k : keys) {
    if (y >= k.top && y <= k.bottom) return k.note;
  }
  return std::nullopt;
}

bool MaySend(bool found, int playState) {
  return found && playState != kTransferring;
}

}  // namespace

std::optional<int> KeyAt(int x, int y) {
  if (x > kKeyboardRight) return std::nullopt;
  if (x < kBlackKeyHalf) {
    if (auto note = Find(kBlackKeys, y)) return note;
  }
  return Find(kWhiteKeys, y);
}

Sends ToggleLiveNote(int& liveNote, int note, bool found, int playState) {
  Sends sends;
  const uint8_t code = note == liveNote ? kRest : static_cast<uint8_t>(note);
  liveNote = note == liveNote ? kNoLiveNote : note;
  if (MaySend(found, playState)) sends.Add(code);
  return sends;
}

Sends NoteEntrySounds(std::optional<uint8_t> newCode, bool found, int playState) {
  Sends sends;
  if (!MaySend(found, playState)) return sends;
  if (newCode) sends.Add(*newCode);
  sends.Add(kRest);
  return sends;
}

}  // namespace pendra2::melody
