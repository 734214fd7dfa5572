#include "melody_ui/score_view.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "melody/live_note.h"
#include "score_view_support.h"

namespace pendra2::melody_ui {
namespace {

using interaction::Rect;
using melody::kLoopEnd;
using melody::kLoopStart;
using melody::MelodyState;

int X(int column) {
  return 80 + 25 * column;
}

// A state scrolled to `first` whose cells hold `bytes` from position `at`.
MelodyState With(int first, int at, std::initializer_list<int> bytes) {
  MelodyState state;
  state.scrollPos = first;
  for (int b : bytes) state.score.cells[static_cast<std::size_t>(at++)] = static_cast<uint8_t>(b);
  return state;
}

TEST(ScoreWindowPicture, MarksCutAtTheLeftEdgeShowOnlyTheirParameterColumns) {
  struct Case {
    const char* what;
    int at;  // where the bytes go; the view starts at 40
    std::initializer_list<int> bytes;
    std::vector<int> lpara;
    std::vector<int> heads;  // x of every note head
  };
  const Case cases[] = {
      // The count cell at the first column; the 5 there is a count, not a note.
      {"start mark one before", 39, {kLoopStart, 5, 3}, {X(0)}, {X(1) + 1}},
      {"end mark one before", 39, {kLoopEnd, 0, 0, 30, 4}, {X(0), X(1), X(2)}, {X(3) + 1}},
      {"end mark two before", 38, {kLoopEnd, 0, 0, 30, 4}, {X(0), X(1)}, {X(2) + 1}},
      {"end mark three before", 37, {kLoopEnd, 0, 0, 30, 4}, {X(0)}, {X(1) + 1}},
      {"start mark in view", 40, {kLoopStart, 2, 7}, {X(1)}, {X(2) + 1}},
      {"end mark at the right edge", 59, {kLoopEnd, 0, 0, 41}, {X(20)}, {}},
  };
  for (const Case& c : cases) {
    const interaction::DrawList list = ScoreWindowPicture(With(40, c.at, c.bytes));
    EXPECT_EQ(Lefts(list, "Lpara"), c.lpara) << c.what;
    EXPECT_EQ(Lefts(list, "SC_ON"), c.heads) << c.what;
  }
  const interaction::DrawList mark = ScoreWindowPicture(With(40, 59, {kLoopEnd, 0, 0, 41}));
  EXPECT_EQ(Lefts(mark, "Lend"), std::vector<int>{X(19)});
  for (const auto& b : Bitmaps(mark, "Lpara")) EXPECT_EQ(b.dest, (Rect{X(20), 0, X(20) + 24, 431}));
}

TEST(ScoreWindowPicture, NoteHeadsStandInTheirRowsAndThePlayedColumnIsMarked) {
  MelodyState state = With(0, 0, {0, 22, 23, 24, 200, 7});
  const interaction::DrawList still = ScoreWindowPicture(state);
  const std::vector<interaction::BitmapItem> heads = Bitmaps(still, "SC_ON");
  ASSERT_EQ(heads.size(), 4u);  // the end mark and the unknown code show nothing
  EXPECT_EQ(heads[0].dest, (Rect{81, 415, 105, 432}));  // C1
  EXPECT_EQ(heads[1].dest, (Rect{106, 19, 130, 36}));   // A2s
  EXPECT_EQ(heads[2].dest, (Rect{131, 1, 155, 18}));    // the rest row
  EXPECT_EQ(heads[3].dest.left, X(5) + 1);

  // A whole-tune playback turns the view over in pages of 20 with the played column.
  struct Case {
    int playMode;
    int played;
    int scrollPos;
    int first;
    int markX;  // -1: no SC_PLAY
  };
  const Case cases[] = {
      {melody::kNoPlayback, 25, 3, 3, -1},
      {melody::kWholeTune, 19, 33, 0, X(19) + 1},
      {melody::kWholeTune, 25, 33, 20, X(5) + 1},
      {melody::kWholeTune, -1, 33, 0, -1},  // started, nothing sounded yet
      {melody::kVisiblePart, 35, 33, 33, X(2) + 1},
  };
  for (const Case& c : cases) {
    MelodyState s;
    for (int i = 0; i < 60; ++i) s.score.cells[static_cast<std::size_t>(i)] = 9;
    s.scrollPos = c.scrollPos;
    s.playback.playMode = c.playMode;
    s.playback.playedPosition = c.played;
    EXPECT_EQ(FirstVisibleColumn(s), c.first) << c.played;
    const interaction::DrawList list = ScoreWindowPicture(s);
    const std::vector<int> mark = Lefts(list, "SC_PLAY");
    EXPECT_EQ(mark, c.markX < 0 ? std::vector<int>{} : std::vector<int>{c.markX}) << c.played;
    EXPECT_EQ(Bitmaps(list, "SC_ON").size() + mark.size(), 21u) << c.played;
  }
}

TEST(ScoreWindowPicture, EveryFifthColumnCarriesABarAndItsNumber) {
  struct Case {
    int scrollPos;
    std::vector<std::pair<std::string, int>> numbers;  // text, x
    std::vector<int> bars;
  };
  const Case cases[] = {
      {0, {{"  5", 183}, {" 10", 308}, {" 15", 433}, {" 20", 558}}, {X(4), X(9), X(14), X(19)}},
      {3, {{"  5", 108}, {" 10", 233}, {" 15", 358}, {" 20", 483}}, {X(1), X(6), X(11), X(16)}},
      // The last view: positions 490..510, 511 is never shown.
      {490, {{"495", 183}, {"500", 308}, {"505", 433}, {"510", 558}}, {X(4), X(9), X(14), X(19)}},
  };
  for (const Case& c : cases) {
    MelodyState state;
    state.scrollPos = c.scrollPos;
    const interaction::DrawList list = ScoreWindowPicture(state);
    std::vector<std::pair<std::string, int>> numbers;
    for (const auto& t : Items<interaction::TextItem>(list)) {
      if (t.at.y == 432) numbers.emplace_back(t.text, t.at.x);
    }
    EXPECT_EQ(numbers, c.numbers) << c.scrollPos;
    EXPECT_EQ(Lefts(list, "BAR"), c.bars) << c.scrollPos;
    for (const auto& b : Bitmaps(list, "BAR")) EXPECT_EQ(b.dest.Width(), 26);
  }
}

TEST(ScoreWindowPicture, KeyHighlightsCoverExactlyTheKeysThatSoundTheirNote) {
  for (int k = 1; k <= 23; ++k) {
    const int note = 23 - k;
    const KeyHighlight* key = KeyHighlightOf(k);
    ASSERT_NE(key, nullptr) << k;
    EXPECT_EQ(key->image, melody::kNoteNames[static_cast<std::size_t>(note)]);
    const bool black = key->image.ends_with('s');
    EXPECT_EQ(key->width, black ? 50 : 79) << k;
    // Every point that sounds the note lies under its highlight, in the key's own half.
    int hits = 0;
    for (int y = 0; y < 431; ++y) {
      for (int x : {5, 35, 45, 70}) {
        if (melody::KeyAt(x, y) != note) continue;
        ++hits;
        EXPECT_TRUE(y >= key->y && y < key->y + key->height) << key->image << " y " << y;
        EXPECT_LT(x, key->width) << key->image;
      }
    }
    EXPECT_GT(hits, 0) << key->image;

    MelodyState state;
    state.hoverKey = k;
    const auto drawn = Bitmaps(ScoreWindowPicture(state), std::string(key->image));
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].dest, (Rect{0, key->y, key->width, key->y + key->height}));
  }
  EXPECT_EQ(KeyHighlightOf(0), nullptr);
  EXPECT_EQ(KeyHighlightOf(24), nullptr);
}

TEST(ScoreWindowPicture, LayersAndModeLabel) {
  MelodyState state;
  state.editMode = melody::kDeleteMode;
  state.hoverKey = 23;
  const interaction::DrawList list = ScoreWindowPicture(state, {.withButtons = true});
  std::vector<std::string> order;
  for (const auto& b : Items<interaction::BitmapItem>(list)) order.push_back(b.name);
  // The background first, the keyboard and its highlight over the grid, then the buttons.
  ASSERT_GE(order.size(), 5u);
  EXPECT_EQ(order.front(), "KEY");
  EXPECT_EQ(std::vector<std::string>(order.end() - 4, order.end()),
            (std::vector<std::string>{"KEYF", "C1", "SCRDEL", "SCRINS"}));
  const auto texts = Items<interaction::TextItem>(list);
  const auto at = [&](interaction::Point p) {
    for (const auto& t : texts) {
      if (t.at == p) return t.text;
    }
    return std::string("(none)");
  };
  EXPECT_EQ(at({620, 260}), "モード");
  EXPECT_EQ(at({620, 290}), "スコア削除");
  EXPECT_EQ(ModeName(0), "スコア編集");
  EXPECT_EQ(ModeName(4), "ループ終了");
  EXPECT_EQ(ModeName(5), "");
  EXPECT_TRUE(Bitmaps(ScoreWindowPicture(state), "SCRDEL").empty());
}

}  // namespace
}  // namespace pendra2::melody_ui
