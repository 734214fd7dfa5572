#include "melody/live_note.h"

#include <gtest/gtest.h>

#include "melody/playback.h"

namespace pendra2::melody {
namespace {

std::vector<int> Codes(const Sends& s) {
  return {s.codes.begin(), s.codes.begin() + s.count};
}

TEST(KeyAt, BlackKeysFirstOnTheirHalfThenWhiteKeys) {
  EXPECT_EQ(KeyAt(10, 400), 1);  // C1s over C1 and D1
  EXPECT_EQ(KeyAt(50, 400), 2);  // same height, right half: the white D1
  EXPECT_EQ(KeyAt(10, 420), 0);  // below the black key: white C1
  EXPECT_EQ(KeyAt(38, 21), 22);
  EXPECT_EQ(KeyAt(39, 21), std::nullopt);
  EXPECT_EQ(KeyAt(78, 32), 21);
  EXPECT_EQ(KeyAt(79, 32), std::nullopt);
  EXPECT_EQ(KeyAt(60, 402), std::nullopt);  // between D1 and C1
  EXPECT_EQ(KeyAt(60, 0), std::nullopt);
}

TEST(LiveNote, SameKeySilencesOtherKeySwitches) {
  int live = kNoLiveNote;
  EXPECT_EQ(Codes(ToggleLiveNote(live, 7, true, kIdle)), std::vector<int>{7});
  EXPECT_EQ(live, 7);
  EXPECT_EQ(Codes(ToggleLiveNote(live, 7, true, kIdle)), std::vector<int>{23});
  EXPECT_EQ(live, kNoLiveNote);
  ToggleLiveNote(live, 7, true, kIdle);
  EXPECT_EQ(Codes(ToggleLiveNote(live, 9, true, kIdle)), std::vector<int>{9});
  EXPECT_EQ(live, 9);
}

TEST(LiveNote, NothingIsSentWithoutABoardOrDuringATransferButTheNoteFollows) {
  int live = kNoLiveNote;
  EXPECT_EQ(ToggleLiveNote(live, 4, false, kIdle).count, 0);
  EXPECT_EQ(live, 4);
  EXPECT_EQ(ToggleLiveNote(live, 4, true, kTransferring).count, 0);
  EXPECT_EQ(live, kNoLiveNote);
  EXPECT_EQ(Codes(ToggleLiveNote(live, 4, true, kPlaying)), std::vector<int>{4});
}

TEST(NoteEntrySounds, BlipForANewNoteSilenceForAClearedCell) {
  EXPECT_EQ(Codes(NoteEntrySounds(uint8_t{12}, true, kIdle)), (std::vector<int>{12, 23}));
  EXPECT_EQ(Codes(NoteEntrySounds(std::nullopt, true, kPlaying)), std::vector<int>{23});
  EXPECT_EQ(NoteEntrySounds(uint8_t{12}, false, kIdle).count, 0);
  EXPECT_EQ(NoteEntrySounds(uint8_t{12}, true, kTransferring).count, 0);
}

}  // namespace
}  // namespace pendra2::melody
