#include "melody/playback.h"

#include <gtest/gtest.h>

#include "score_helpers.h"

namespace pendra2::melody {
namespace {

using testing::Drain;
using testing::ScoreOf;
using Sent = std::vector<int>;

// C1, a loop repeated twice around D1, E1.
Score LoopExample() {
  return ScoreOf({0, 'l', 2, 2, 'L', 0, 0, 3, 4});
}

TEST(Playback, WholeTuneRepeatsLoopBodies) {
  Score score = LoopExample();
  PlaybackState state;
  ASSERT_EQ(StartWholePlayback(state, score, 0), 330);
  EXPECT_EQ(state.playState, kPlaying);
  EXPECT_EQ(state.playMode, kWholeTune);
  EXPECT_EQ(Drain(state, score), (Sent{0, 2, 2, 2, 4, 24, 23}));
  EXPECT_EQ(state.playState, kIdle);
  EXPECT_EQ(state.playMode, kNoPlayback);
}

TEST(Playback, LoopMarksTakeATickWithoutSound) {
  Score score = LoopExample();
  PlaybackState state;
  StartWholePlayback(state, score, 0);
  int ticks = 0;
  while (PlaybackTick(state, score, 0, true).running) ++ticks;
  // 5 notes + end mark, 'l' once, 'L' three times, then the closing tick.
  EXPECT_EQ(ticks + 1, 11);
}

TEST(Playback, PartPlaybackStepsOverLoopMarks) {
  Score score = LoopExample();
  PlaybackState state;
  ASSERT_TRUE(StartPartPlayback(state, score, 0, 0));
  EXPECT_EQ(state.playMode, kVisiblePart);
  EXPECT_EQ(state.playEnd, 10);
  EXPECT_EQ(Drain(state, score), (Sent{0, 2, 4, 24, 23}));
}

TEST(Playback, PartPlaybackCoversTheVisibleColumnsOnly) {
  Score score;
  for (int p = 0; p < 60; ++p) score.cells[p] = static_cast<uint8_t>(p % 23);
  PlaybackState state;
  StartPartPlayback(state, score, 0, 30);
  EXPECT_EQ(state.playEnd, 51);
  const auto sent = Drain(state, score);
  ASSERT_EQ(sent.size(), 22u);
  EXPECT_EQ(sent.front(), 30 % 23);
  EXPECT_EQ(sent[20], 50 % 23);
  EXPECT_EQ(sent.back(), 23);
}

TEST(Playback, EmptyScoreSendsTheEndMarkThenSilence) {
  Score score;
  PlaybackState state;
  StartWholePlayback(state, score, 0);
  EXPECT_EQ(Drain(state, score), (Sent{24, 23}));
}

TEST(Playback, RefusedWhileEditingPlayingOrTransferring) {
  Score score = LoopExample();
  PlaybackState state;
  EXPECT_FALSE(StartWholePlayback(state, score, 1));
  EXPECT_FALSE(StartPartPlayback(state, score, 2, 0));
  EXPECT_FALSE(state.timerStarted);
  ASSERT_TRUE(StartWholePlayback(state, score, 0));
  EXPECT_FALSE(StartPartPlayback(state, score, 0, 0));
  state.playState = kTransferring;
  EXPECT_FALSE(StartWholePlayback(state, score, 0));
}

TEST(Playback, LoopPlayNeverEndsUntilStopped) {
  Score score = ScoreOf({5, 6});
  PlaybackState state;
  state.loopPlay = true;
  StartWholePlayback(state, score, 0);
  Sent sent;
  for (int i = 0; i < 40; ++i) {
    const auto r = PlaybackTick(state, score, 0, true);
    ASSERT_TRUE(r.running);
    if (r.note) sent.push_back(*r.note);
  }
  // Three notes and one silent restart tick per pass.
  EXPECT_EQ(sent.size(), 30u);
  EXPECT_EQ((Sent(sent.begin(), sent.begin() + 6)), (Sent{5, 6, 24, 5, 6, 24}));
  EXPECT_EQ(StopPlayback(state, true), kRest);
  EXPECT_EQ(state.playState, kIdle);
  EXPECT_EQ(state.playMode, kNoPlayback);
  EXPECT_FALSE(PlaybackTick(state, score, 0, true).running);
}

TEST(Playback, LoopedPartRestartsAtTheCurrentScrollPosition) {
  Score score;
  for (int p = 0; p < 40; ++p) score.cells[p] = static_cast<uint8_t>(p % 20);
  PlaybackState state;
  state.loopPlay = true;
  StartPartPlayback(state, score, 0, 5);
  for (int i = 0; i < 21; ++i) PlaybackTick(state, score, 5, true);
  PlaybackTick(state, score, 7, true);  // the restart tick, after a scroll to 7
  const auto r = PlaybackTick(state, score, 7, true);
  ASSERT_TRUE(r.note);
  EXPECT_EQ(*r.note, 7);
  EXPECT_EQ(state.playEnd, 26);
}

TEST(Playback, TempoChangeTakesEffectAtTheNextTick) {
  Score score = ScoreOf({1, 2, 3});
  PlaybackState state;
  EXPECT_EQ(StartWholePlayback(state, score, 0), 330);
  EXPECT_EQ(PlaybackTick(state, score, 0, true).periodMs, 330);
  SetTempoIndex(score, 12);
  EXPECT_EQ(PlaybackTick(state, score, 0, true).periodMs, 4);
  SetTempoIndex(score, 0);
  EXPECT_EQ(PlaybackTick(state, score, 0, true).periodMs, 500);
}

TEST(Playback, WithoutABoardTheMarkerMovesInSilence) {
  Score score = ScoreOf({1, 2});
  PlaybackState state;
  StartWholePlayback(state, score, 0);
  auto r = PlaybackTick(state, score, 0, false);
  EXPECT_FALSE(r.note);
  EXPECT_TRUE(r.redraw);
  EXPECT_EQ(state.playedPosition, 0);
  EXPECT_EQ(state.playPosition, 1);
  PlaybackTick(state, score, 0, false);
  PlaybackTick(state, score, 0, false);
  r = PlaybackTick(state, score, 0, false);
  EXPECT_FALSE(r.note);
  EXPECT_FALSE(r.running);
  EXPECT_FALSE(StopPlayback(state, false));
}

TEST(Playback, StopBeforeAnyStartDoesNothing) {
  PlaybackState state;
  EXPECT_FALSE(StopPlayback(state, true));
  state.timerStarted = true;
  state.playState = kTransferring;
  EXPECT_FALSE(StopPlayback(state, true));  // no silence in the middle of a transfer
}

TEST(Playback, NestedLoopsStartAfreshOnEachOuterPass) {
  // outer x2 passes: [ A, inner x2 passes: [ B ] ], C
  Score score = ScoreOf({'l', 1, 0, 'l', 1, 1, 'L', 1, 0, 5, 'L', 0, 0, 2, 4});
  PlaybackState state;
  StartWholePlayback(state, score, 0);
  EXPECT_EQ(Drain(state, score), (Sent{0, 1, 1, 0, 1, 1, 4, 24, 23}));
}

TEST(Playback, LoopsDeeperThanTheCountersPlayOnce) {
  // Five nested loops, each with count 1; the fifth has no counter and plays once.
  Score score = ScoreOf({'l', 1, 'l', 1,   'l', 1, 'l', 1,   'l', 1, 7, 'L', 4, 0, 10, 'L',
                         3,   0, 8,   'L', 2,   0, 6,   'L', 1,   0, 4, 'L', 0, 0, 2});
  PlaybackState state;
  StartWholePlayback(state, score, 0);
  const auto sent = Drain(state, score, 100000);
  EXPECT_EQ(sent.size(), 16u + 2u);  // 2^4 passes of the note, end mark, silence
  EXPECT_EQ(state.playState, kIdle);
}

TEST(Playback, DamagedMarksNeverReadOutsideTheScore) {
  // A loop-end mark whose parameters run past the last position, and one whose depth and
  // target are nonsense.
  Score score;
  score.cells[0] = 'l';
  score.cells[1] = 3;
  score.cells[2] = 'L';
  score.cells[3] = 200;
  score.cells[4] = 0xFF;
  score.cells[5] = 0xFF;
  score.cells[509] = 'L';
  score.cells[510] = 0;
  PlaybackState state;
  StartWholePlayback(state, score, 0);
  const auto sent = Drain(state, score, 100000);
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), 23);
}

}  // namespace
}  // namespace pendra2::melody

#include "melody/melody_state.h"

namespace pendra2::melody {
namespace {

TEST(NewScore, StopsPlaybackAndLoopPlayKeepsTheScrollPosition) {
  MelodyState state;
  state.score = testing::ScoreOf({1, 2});
  state.scrollPos = 40;
  state.playback.loopPlay = true;
  StartWholePlayback(state.playback, state.score, 0);
  EXPECT_FALSE(MayRunOrStopBoard(true, state.playback));
  NewScore(state);
  EXPECT_EQ(state.playback.playState, kIdle);
  EXPECT_EQ(state.playback.playMode, kNoPlayback);
  EXPECT_FALSE(state.playback.loopPlay);
  EXPECT_EQ(state.score.cells[0], kEmpty);
  EXPECT_EQ(state.score.tempoIndex, 2);
  EXPECT_EQ(state.scrollPos, 40);
  EXPECT_FALSE(PlaybackTick(state.playback, state.score, 0, true).running);
  EXPECT_TRUE(MayRunOrStopBoard(true, state.playback));
  EXPECT_FALSE(MayRunOrStopBoard(false, state.playback));
}

}  // namespace
}  // namespace pendra2::melody
