// The score window's picture and the printed pages, as draw lists.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "melody/live_note.h"
#include "melody/view/score_pages.h"
#include "melody/view/score_view.h"
#include "support/draw_items.h"

namespace pendra2::melody::view {
namespace {

using interaction::Point;
using interaction::Rect;
using pendra2::testing::Bitmaps;
using pendra2::testing::Items;

// Left edges of the named bitmaps, in drawing order.
std::vector<int> Lefts(const interaction::DrawList& list, const std::string& name) {
  std::vector<int> xs;
  for (const auto& b : Bitmaps(list, name)) xs.push_back(b.dest.left);
  return xs;
}

std::string TextAt(const interaction::DrawList& list, interaction::Point at) {
  for (const auto& t : Items<interaction::TextItem>(list)) {
    if (t.at == at) return t.text;
  }
  return "(none)";
}

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

// The band behind the numbers and the frame cover the selected columns in view; the frame
// stays open where the selection goes on out of view.
TEST(ScoreWindowPicture, SelectedColumnsAreBandedAndFramed) {
  for (const auto& [first, last, band, lines] :
       {std::tuple(42, 44, Rect{X(2) + 1, 432, X(5) + 1, 456}, 4U),
        std::tuple(30, 41, Rect{X(0) + 1, 432, X(2) + 1, 456}, 3U)}) {
    MelodyState state = With(40, 0, {});
    state.selection = {first, last};
    const interaction::DrawList list = ScoreWindowPicture(state);
    EXPECT_EQ(Items<interaction::FillItem>(list).back().rect, band);
    EXPECT_EQ(Items<interaction::LineItem>(list).size(), lines);  // the picture's only lines
  }
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

TEST(ScoreWindowPicture, BarsNumbersLayersAndModeLabel) {
  // A bar and a number under every fifth column, counted from 1; the last view shows the
  // positions 490..510, never 511.
  struct Case {
    int scrollPos;
    std::vector<std::pair<std::string, int>> numbers;  // text, x
    std::vector<int> bars;
  };
  const Case cases[] = {
      {3, {{"  5", 108}, {" 10", 233}, {" 15", 358}, {" 20", 483}}, {X(1), X(6), X(11), X(16)}},
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
  EXPECT_EQ(TextAt(list, {620, 260}), "モード");
  EXPECT_EQ(TextAt(list, {620, 290}), "スコア削除");
  EXPECT_EQ(ModeName(5), "");
  EXPECT_TRUE(Bitmaps(ScoreWindowPicture(state), "SCRDEL").empty());
}

// Printable width 1000 and height 1400 behind offsets 50 and 60: the background is 800
// wide (scale 800 / 606), the upper system's top at y 60 + 140, the lower one's at 60 + 770.
constexpr PageGeometry kPage{50, 60, 1100, 1520};

Score Columns(int used, int code = 9) {
  Score score;
  for (int i = 0; i < used; ++i)
    score.cells[static_cast<std::size_t>(i)] = static_cast<uint8_t>(code);
  return score;
}

TEST(ScorePages, OnePageMoreThanTheWholePagesTheColumnsFill) {
  struct Case {
    int used;  // columns before the end mark
    int pages;
  };
  for (const Case c :
       {Case{0, 1}, Case{40, 1}, Case{41, 2}, Case{82, 2}, Case{83, 3}, Case{510, 13}}) {
    const auto pages = ScorePages(Columns(c.used), kPage);
    EXPECT_EQ(static_cast<int>(pages.size()), c.pages) << c.used;
    char counter[32];
    std::snprintf(counter, sizeof counter, "PAGE [%3d/%3d]", c.pages, c.pages);
    EXPECT_EQ(TextAt(pages.back(), {250, 172}), counter) << c.used;
    EXPECT_EQ(TextAt(pages.back(), {350, 130}), "■スコアリスト■");
  }
  EXPECT_EQ(ScorePageCount(42), 2);
}

TEST(ScorePages, FramedSystemsNumbersAndCellsWithoutBarsOrPlayMarks) {
  const auto empty = ScorePages(Score{}, kPage);
  ASSERT_EQ(empty.size(), 1u);
  const auto keys = Bitmaps(empty[0], "KEY");
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].dest, (Rect{150, 200, 950, 768}));
  EXPECT_EQ(keys[1].dest, (Rect{150, 830, 950, 1398}));
  EXPECT_EQ(Items<interaction::BitmapItem>(empty[0]).size(), 2u);  // the end mark is blank
  // Numbers under every fifth column of both systems.
  EXPECT_EQ(TextAt(empty[0], {50 + 352, 760}), "  5");
  EXPECT_EQ(TextAt(empty[0], {50 + 814, 1390}), " 40");

  Score score = Columns(41, 23);
  score.cells[0] = 0;
  const auto pages = ScorePages(score, kPage);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(TextAt(pages[1], {50 + 286, 760}), " 45");  // the second page starts at 43
  EXPECT_TRUE(Bitmaps(pages[1], "SC_ON").empty());
  EXPECT_TRUE(Bitmaps(pages[0], "BAR").empty());
  EXPECT_TRUE(Bitmaps(pages[0], "SC_PLAY").empty());
  const auto heads = Bitmaps(pages[0], "SC_ON");
  ASSERT_EQ(heads.size(), 41u);
  // The C1 head at window (81, 415), scaled by 800 / 606.
  EXPECT_EQ(heads[0].dest, (Rect{256, 747, 256 + 31, 747 + 22}));
}

TEST(ScorePages, LoopCountsStandAtTheirMarksAndCutMarksPrintParameters) {
  Score score = Columns(60);
  // A loop start at the lower system's first column of page 1, counted 7.
  score.cells[21] = melody::kLoopStart;
  score.cells[22] = 7;
  // A loop end across the systems of page 2: the mark ends the upper system, its last two
  // parameters open the lower one.
  score.cells[61] = melody::kLoopEnd;
  score.cells[62] = 0;
  score.cells[63] = 0;
  score.cells[64] = 23;
  const auto pages = ScorePages(score, kPage);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(TextAt(pages[0], {50 + 210, 60 + 1309}), "  7");
  EXPECT_EQ(Bitmaps(pages[0], "Lin").size(), 1u);
  EXPECT_EQ(Lefts(pages[1], "Lend"), std::vector<int>{150 + 732});
  EXPECT_EQ(Lefts(pages[1], "Lpara"), (std::vector<int>{150 + 765, 150 + 105, 150 + 138}));
  EXPECT_EQ(Bitmaps(pages[1], "Lpara")[1].dest.top, 830);
}

}  // namespace
}  // namespace pendra2::melody::view
