#include "melody/playback.h"

#include <gtest/gtest.h>

#include "helpers.h"
#include "melody/played_tune.h"

namespace pendra2::melody {
namespace {

using namespace testing;

std::pair<int, int> StateAndMode(const PlaybackState& s) {
  return {s.playState, s.playMode};
}

TEST(Playback, WholeTunesRepeatLoopBodiesAndEndWithTheEndMarkAndSilence) {
  const std::pair<const char*, const char*> cases[] = {
      {"0 l 2 2 L 0 0 3 4", "0 2 2 2 4 24 23"},  // C1, a loop twice around D1, E1
      {"", "24 23"},
      // outer x2: [ A, inner x2: [ B ] ], C: the inner loop starts afresh on each pass
      {"l 1 0 l 1 1 L 1 0 5 L 0 0 2 4", "0 1 1 0 1 1 4 24 23"},
      // Five nested loops of count 1: the fifth has no counter and plays once.
      {"l 1 l 1 l 1 l 1 l 1 7 L 4 0 10 L 3 0 8 L 2 0 6 L 1 0 4 L 0 0 2",
       "7 7 7 7 7 7 7 7 7 7 7 7 7 7 7 7 24 23"},
  };
  for (const auto& [tune, sent] : cases) EXPECT_EQ(PlayWhole(ScoreOf(tune)), C(sent)) << tune;
  // Nonsense depth and target, a loop-end mark whose parameters run past the end: the
  // playback stays inside the score and still ends in silence.
  Score damaged = ScoreOf("l 3 L 200 255 255");
  damaged.cells[509] = 'L';
  damaged.cells[510] = 0;
  EXPECT_EQ(PlayWhole(damaged).back(), 23);

  Score score = ScoreOf(kLoopTune);
  PlaybackState state;
  ASSERT_EQ(StartWholePlayback(state, score, 0), 330);
  EXPECT_EQ(StateAndMode(state), std::pair(int{kPlaying}, int{kWholeTune}));
  int ticks = 1;
  while (PlaybackTick(state, score, 0, true).running) ++ticks;
  EXPECT_EQ(ticks, 11);  // 5 notes + end mark, 'l' once, 'L' three times, the closing tick
  EXPECT_EQ(StateAndMode(state), std::pair(int{kIdle}, int{kNoPlayback}));
}

TEST(Playback, PartPlaybackCoversTheVisibleColumnsAndStepsOverLoopMarks) {
  Score score = ScoreOf(kLoopTune);
  PlaybackState state;
  ASSERT_TRUE(StartPartPlayback(state, score, 0, 0));
  EXPECT_EQ(state.playMode, kVisiblePart);
  EXPECT_EQ(state.playEnd, 10);
  EXPECT_EQ(Drain(state, score), C("0 2 4 24 23"));

  for (int p = 0; p < 60; ++p) score.cells[p] = static_cast<uint8_t>(p % 23);
  StartPartPlayback(state, score, 0, 30);
  EXPECT_EQ(state.playEnd, 51);
  EXPECT_EQ(Drain(state, score), C("7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 0 1 2 3 4 23"));
}

TEST(Playback, RefusedWhileEditingPlayingOrTransferringStopOnlyAfterAStart) {
  Score score = ScoreOf(kLoopTune);
  PlaybackState state;
  EXPECT_FALSE(StopPlayback(state, true));
  EXPECT_FALSE(StartWholePlayback(state, score, 1));
  EXPECT_FALSE(StartPartPlayback(state, score, 2, 0));
  EXPECT_FALSE(state.timerStarted);
  ASSERT_TRUE(StartWholePlayback(state, score, 0));
  EXPECT_FALSE(StartPartPlayback(state, score, 0, 0));
  state.playState = kTransferring;
  EXPECT_FALSE(StartWholePlayback(state, score, 0));
  EXPECT_FALSE(StopPlayback(state, true));  // no silence in the middle of a transfer
}

TEST(Playback, LoopPlayRunsUntilStoppedAPartRestartsWhereTheViewIs) {
  Score score = ScoreOf("5 6");
  PlaybackState state;
  state.loopPlay = true;
  StartWholePlayback(state, score, 0);
  Cols sent;
  for (int i = 0; i < 12; ++i) {
    const auto r = PlaybackTick(state, score, 0, true);
    ASSERT_TRUE(r.running);
    if (r.note) sent.push_back(*r.note);
  }
  EXPECT_EQ(sent, C("5 6 24 5 6 24 5 6 24"));  // and one silent restart tick per pass
  EXPECT_EQ(StopPlayback(state, true), kRest);
  EXPECT_EQ(StateAndMode(state), std::pair(int{kIdle}, int{kNoPlayback}));
  EXPECT_FALSE(PlaybackTick(state, score, 0, true).running);

  for (int p = 0; p < 40; ++p) score.cells[p] = static_cast<uint8_t>(p % 20);
  state.loopPlay = true;
  StartPartPlayback(state, score, 0, 5);
  for (int i = 0; i < 21; ++i) PlaybackTick(state, score, 5, true);
  PlaybackTick(state, score, 7, true);  // the restart tick, after a scroll to 7
  EXPECT_EQ(PlaybackTick(state, score, 7, true).note, 7);
  EXPECT_EQ(state.playEnd, 26);
}

TEST(Playback, TempoChangesAtTheNextTickNoBoardMovesTheMarkerInSilence) {
  Score score = ScoreOf("1 2");
  PlaybackState state;
  EXPECT_EQ(StartWholePlayback(state, score, 0), 330);
  auto r = PlaybackTick(state, score, 0, false);
  EXPECT_EQ(r.periodMs, 330);
  EXPECT_FALSE(r.note);
  EXPECT_TRUE(r.redraw);
  EXPECT_EQ(std::pair(state.playedPosition, state.playPosition), std::pair(0, 1));
  SetTempoIndex(score, 12);
  EXPECT_EQ(PlaybackTick(state, score, 0, false).periodMs, 4);
  SetTempoIndex(score, 0);
  EXPECT_EQ(PlaybackTick(state, score, 0, false).periodMs, 500);
  r = PlaybackTick(state, score, 0, false);
  EXPECT_FALSE(r.note || r.running);
  EXPECT_FALSE(StopPlayback(state, false));
}

// A loop of 40 notes (columns 2-41) and the end mark at 46, played whole with the view at
// 0: column 21 is the first one past the view and is then shown first; the loop goes back
// to column 2 and the view with it; then 23 is past, and the end mark. A part playback
// never moves the view.
TEST(Playback, TheViewFollowsTheWholeTunePlayedPastIt) {
  std::string tune = "l 1";
  for (int i = 0; i < 40; ++i) tune += " 2";
  Score score = ScoreOf(tune + " L 0 0 2");
  PlaybackState state;
  ASSERT_TRUE(StartWholePlayback(state, score, 0));
  int view = 0;
  std::vector<int> moves;
  while (PlaybackTick(state, score, 0, true).running) {
    const int next = FollowPlayedColumn(view, state);
    if (next != view) moves.push_back(next);
    view = next;
  }
  EXPECT_EQ(moves, (std::vector<int>{21, 2, 23, 46}));

  PlaybackState part;
  ASSERT_TRUE(StartPartPlayback(part, score, 0, 30));
  PlaybackTick(part, score, 30, true);
  EXPECT_EQ(FollowPlayedColumn(30, part), 30);
  part.playedPosition = 2;
  EXPECT_EQ(FollowPlayedColumn(30, part), 30);
}

}  // namespace
}  // namespace pendra2::melody

namespace pendra2::melody {
namespace {

using namespace testing;

TEST(PlayedTune, PlaysLoopsOutAsThePlaybackDoesWithoutTheEndMark) {
  const std::pair<const char*, const char*> cases[] = {
      {"0 l 2 2 L 0 0 3 4", "0 2 2 2 4"},
      {"l 1 0 l 1 1 L 1 0 5 L 0 0 2 4", "0 1 1 0 1 1 4"},
      {"5 - - 7", "5 23 23 7"},  // gaps are rests
      {"", ""},
  };
  for (const auto& [tune, columns] : cases) {
    const PlayedTune played = PlayOut(ScoreOf(tune));
    const Cols got(played.columns.begin(), played.columns.end());
    EXPECT_EQ(got, C(columns)) << tune;
    EXPECT_FALSE(played.cut) << tune;
  }
}

TEST(PlayedTune, LoopsThatWouldPlayForHoursStopAtTheLimit) {
  // Four loops of 255 repeats nested around one note: 255^4 columns.
  Score hours = ScoreOf("l 255 l 255 l 255 l 255 9 L 3 0 8 L 2 0 6 L 1 0 4 L 0 0 2");
  const PlayedTune played = PlayOut(hours);
  EXPECT_TRUE(played.cut);
  const int ms = static_cast<int>(played.columns.size()) * played.periodMs;
  EXPECT_LE(ms, kMaxPlayedMs);
  EXPECT_GT(ms, kMaxPlayedMs - played.periodMs);
  // At the fastest tempo the columns run out before the minutes do.
  SetTempoIndex(hours, 12);
  EXPECT_EQ(PlayOut(hours).columns.size(), std::size_t{kMaxPlayedColumns});
  // Damaged marks that jump among themselves for ever, a counter set afresh on each pass.
  const PlayedTune endless = PlayOut(ScoreOf("L 4 0 0 l 1 L 0 0 0"));
  EXPECT_TRUE(endless.cut);
  EXPECT_FALSE(endless.HasNotes());
}

}  // namespace
}  // namespace pendra2::melody
