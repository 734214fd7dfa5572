#include <gtest/gtest.h>

#include <cstring>

#include "flowchart/listing.h"
#include "program_builder.h"

namespace pendra2::flowchart {
namespace {

using testing::Jump;
using testing::Step;
using testing::Variable;

// ASCII passes through unchanged; the tests that need real Shift JIS live with ui_common.
std::string Identity(std::string_view s) {
  return std::string(s);
}

StepRecord Orgel(std::string_view path) {
  StepRecord s = Step(StepKind::Orgel);
  EXPECT_TRUE(StoreTunePath(s, path));
  return s;
}

StepRecord With(StepKind kind, int32_t value, int32_t op = 0, int32_t channel = 0,
                int32_t target = 0) {
  StepRecord s = Step(kind);
  s.value = value;
  s.op = op;
  s.channel = channel;
  s.target = target;
  return s;
}

StepRecord LoopOf(int32_t count) {
  StepRecord s = Step(StepKind::LoopStart);
  s.loopCount = count;
  return s;
}

struct Expected {
  int n;
  StepRecord step;
  const char* basic;
  const char* japanese;
  const char* c;
};

// One step for every template row a step can produce, with all three notations.
std::vector<Expected> EveryProducedRow() {
  using K = StepKind;
  return {
      {0, Step(K::Start), "000:START", "  0行目:はじめ", "000:main{"},
      {1, Orgel("C:\\music\\sakura_no_uta.olg"), "001:PLAYORGEL(sakura_no...)",
       "  1行目:オルゴール演奏(sakura_no...)", "001:PlayOrgel(sakura_no...) ;"},
      {4, With(K::Wait, 3), "004:IF TIMER(1.5)　THEN HALT", "  4行目:タイマー1.5秒待機",
       "004:if(timer(1.5)) wait();"},
      {12, With(K::Branch, 300, 1, 1, 7), "012:IF input_2 >= 300　GOTO 007",
       " 12行目:もし入力2が300以上なら  7行目へ", "012:if(input_2 >= 300) goto 007;"},
      {13, With(K::Branch, 5, 2, 2, 120), "013:IF input_3 < 5 GOTO 120",
       " 13行目:もし入力3が5より小さいなら120行目へ", "013:if(input_3 < 5) goto 120;"},
      {3, LoopOf(10), "003:FOR I=1 to 10", "  3行目:10回くり返し ", "003:for(i=1;i<10;i++){"},
      {5, Step(K::LoopEnd), "005:NEXT", "  5行目:くり返し戻る", "005:} do "},
      {6, With(K::Output, 1, 0, 0), "006:LED (ON )", "  6行目:LEDを ON ", "006:LED(ON ) ;"},
      {7, With(K::Output, 0, 0, 2), "007:OUTPORT2(OFF)", "  7行目:出力ポート2を OFF",
       "007:outport2(OFF) ;"},
      {254, Step(K::End), "254:END", "254行目:おわり", "254:}"},
      {8, With(K::Goto, 0, 0, 0, 2), "008:GOTO 002", "  8行目:  2行目へ", "008:goto 002;"},
      {9, With(K::Compare, 10, 0, 0, 1), "009:IF input_1 = input_2　GOTO 001",
       "  9行目:もし入力1が入力2と同値なら  1行目へ", "009:if(input_1 == input_2) goto 001;"},
      {9, With(K::Compare, 10, 1, 0, 1), "009:IF input_1 > input_2　GOTO 001",
       "  9行目:もし入力1が入力2より大きいなら  1行目へ", "009:if(input_1 > input_2) goto 001;"},
      {9, With(K::Compare, 10, 2, 0, 1), "009:IF input_1 < input_2　GOTO 001",
       "  9行目:もし入力1が入力2より小さいなら  1行目へ", "009:if(input_1 < input_2) goto 001;"},
      {10, With(K::ExtOutput, 0, 0, 5), "010:OUTBIT(1010)", " 10行目:拡張出力ポートセット 1010",
       "010:outBIT(1010) ;"},
      {11, With(K::VarCompare, -4, 0, 0, 3), "011:IF A = -4　GOTO 003",
       " 11行目:もし変数Aが -4 と同値なら  3行目へ", "011:if(A == -4) goto 003;"},
      {11, With(K::VarCompare, 4, 1, 0, 3), "011:IF A > 4　GOTO 003",
       " 11行目:もし変数Aが 4 より大きいなら  3行目へ", "011:if(A > 4) goto 003;"},
      {11, With(K::VarCompare, 4, 2, 0, 3), "011:IF A < 4　GOTO 003",
       " 11行目:もし変数Aが 4 より小さいなら  3行目へ", "011:if(A < 4) goto 003;"},
      {11, With(K::VarCompare, 4, 3, 0, 3), "011:IF B = 4　GOTO 003",
       " 11行目:もし変数Bが 4 と同値なら  3行目へ", "011:if(B == 4) goto 003;"},
      {11, With(K::VarCompare, 4, 4, 0, 3), "011:IF B > 4　GOTO 003",
       " 11行目:もし変数Bが 4 より大きいなら  3行目へ", "011:if(B > 4) goto 003;"},
      {11, With(K::VarCompare, 4, 5, 0, 3), "011:IF B < 4　GOTO 003",
       " 11行目:もし変数Bが 4 より小さいなら  3行目へ", "011:if(B < 4) goto 003;"},
      {11, With(K::VarCompare, 4, 6, 0, 3), "011:IF A = B　GOTO 003",
       " 11行目:もし変数Aが 変数Bと同値なら  3行目へ", "011:if(A == B) goto 003;"},
      {11, With(K::VarCompare, 4, 7, 0, 3), "011:IF A > B　GOTO 003",
       " 11行目:もし変数Aが 変数Bより大きいなら  3行目へ", "011:if(A > B) goto 003;"},
      {11, With(K::VarCompare, 4, 8, 0, 3), "011:IF A < B　GOTO 003",
       " 11行目:もし変数Aが 変数Bより小さいなら  3行目へ", "011:if(A < B) goto 003;"},
      {2, Variable(0, 0, 7), "002: A = 7", "  2行目:変数Aに 7 を代入", "002: A = 7 ;"},
      {2, Variable(0, 1, 7), "002: A = A + 7", "  2行目:変数Aに 7 を加算", "002: A += 7 ;"},
      {2, Variable(0, 2, 7), "002: A = A - 7", "  2行目:変数Aから 7 を減算", "002: A -= 7 ;"},
      {2, Variable(0, 3, 7), "002: A = A * 7", "  2行目:変数Aに 7 を乗算", "002: A *= 7 ;"},
      {2, Variable(0, 4, 7), "002: A = A / 7", "  2行目:変数Aから 7 を除算", "002: A /= 7 ;"},
      {2, Variable(0, 5, 7), "002: A = 入力1", "  2行目:変数Aに入力1 の値を代入",
       "002: A = input_1 ;"},
      {2, Variable(0, 7, 7), "002: A = 入力3", "  2行目:変数Aに入力3 の値を代入",
       "002: A = input_3 ;"},
      {2, Variable(0, 8, 7), "002: A = A + B", "  2行目:変数AにAとBの和を代入", "002: A += B ;"},
      {2, Variable(0, 9, 7), "002: A = A - B", "  2行目:変数AにAとBの差を代入", "002: A -= B ;"},
      {2, Variable(0, 10, 7), "002: A = A * B", "  2行目:変数AにAとBの積を代入", "002: A *= B ;"},
      {2, Variable(0, 11, 7), "002: A = A / B", "  2行目:変数AにAとBの商を代入", "002: A /= B ;"},
      {2, Variable(1, 0, 7), "002: B = 7", "  2行目:変数Bに 7 を代入", "002: B = 7 ;"},
      {2, Variable(1, 1, 7), "002: B = B + 7", "  2行目:変数Bに 7 を加算", "002: B += 7 ;"},
      {2, Variable(1, 2, 7), "002: B = B - 7", "  2行目:変数Bから 7 を減算", "002: B -= 7 ;"},
      {2, Variable(1, 3, 7), "002: B = B * 7", "  2行目:変数Bに 7 を乗算", "002: B *= 7 ;"},
      {2, Variable(1, 4, 7), "002: B = B / 7", "  2行目:変数Bから 7 を除算", "002: B /= 7 ;"},
      {7, Variable(1, 6, 7), "007: B = 入力2", "  7行目:変数Bに入力2 の値を代入",
       "007: B = input_2 ;"},
      {2, Variable(5, 8, 7), "002: B = B + A", "  2行目:変数BにBとAの和を代入", "002: B += A ;"},
      {2, Variable(1, 9, 7), "002: B = B - A", "  2行目:変数BにBとAの差を代入", "002: B -= A ;"},
      {2, Variable(1, 10, 7), "002: B = B * A", "  2行目:変数BにBとAの積を代入", "002: B *= A ;"},
      {2, Variable(1, 11, 7), "002: B = B / A", "  2行目:変数BにBとAの商を代入", "002: B /= A ;"},
  };
}

TEST(ListingTest, EveryRowAStepProducesInAllThreeNotations) {
  for (const auto& e : EveryProducedRow()) {
    EXPECT_EQ(ListingLine(e.n, e.step, Notation::Basic, Identity), e.basic);
    EXPECT_EQ(ListingLine(e.n, e.step, Notation::Japanese, Identity), e.japanese);
    EXPECT_EQ(ListingLine(e.n, e.step, Notation::C, Identity), e.c);
  }
}

TEST(ListingTest, TemplateTableKeepsItsUnusedRowsAndEnds) {
  EXPECT_STREQ(ListingTemplate(3, Notation::Basic), "%03d:IF input_%d < %d　THEN HALT");
  EXPECT_STREQ(ListingTemplate(4, Notation::Japanese), "%3d行目:もしスイッチがオフなら待機");
  EXPECT_STREQ(ListingTemplate(7, Notation::Japanese),
               "%3d行目:もしスイッチがオン　なら %3d行目へ");
  EXPECT_STREQ(ListingTemplate(7, Notation::C), "%03d:if(switch on) goto %03d;");
  EXPECT_STREQ(ListingTemplate(47, Notation::Japanese), "");
  EXPECT_STREQ(ListingTemplate(-1, Notation::C), "");
  int ideographicSpaces = 0;
  for (int row = 0; row < kListingTemplateRows; ++row) {
    for (auto n : {Notation::Basic, Notation::Japanese, Notation::C}) {
      const std::string_view t = ListingTemplate(row, n);
      ASSERT_FALSE(t.empty()) << row;
      for (auto at = t.find("\u3000"); at != t.npos; at = t.find("\u3000", at + 1)) {
        ++ideographicSpaces;
      }
    }
  }
  EXPECT_EQ(ideographicSpaces, 16);
}

TEST(ListingTest, StepsWithoutARowListAsEmpty) {
  using K = StepKind;
  StepRecord odd = Step(K::Start);
  odd.kind = 12;
  for (const auto& s : {With(K::Branch, 1, 1, 3), With(K::Compare, 1, 3), With(K::Compare, 1, -1),
                        Variable(0, 12, 1), Variable(1, -1, 1), With(K::VarCompare, 0, 9), odd}) {
    for (auto n : {Notation::Basic, Notation::Japanese, Notation::C}) {
      EXPECT_EQ(ListingLine(3, s, n, Identity), "") << s.kind << " " << s.op;
    }
  }
}

TEST(ListingTest, NonZeroOutputValueListsAsOn) {
  // The listing calls any non-zero value ON; the symbol caption only 1.
  const auto out = With(StepKind::Output, 2, 0, 1);
  EXPECT_EQ(ListingLine(1, out, Notation::Japanese, Identity), "  1行目:出力ポート1を ON ");
  EXPECT_EQ(StepCaption(out, Identity), "出力1 OFF");
}

TEST(CaptionTest, ByKind) {
  using K = StepKind;
  struct Case {
    StepRecord step;
    const char* caption;
  };
  StepRecord loop = LoopOf(7);
  for (const auto& c : std::vector<Case>{
           {Step(K::Start), ""},
           {Step(K::End), ""},
           {Step(K::LoopEnd), ""},
           {Orgel("tune.olg"), "tune.olg"},
           {With(K::Wait, 3), "1.5"},
           {With(K::Wait, 0), "0.0"},
           {loop, "007"},
           {With(K::Branch, 300, 1), ">=300"},
           {With(K::Branch, 12, 2), "<12"},
           {With(K::Branch, 12, 0), "<12"},
           {With(K::Output, 1, 0, 0), "LED ON "},
           {With(K::Output, 0, 0, 0), "LED OFF"},
           {With(K::Output, 1, 0, 1), "出力1 ON "},
           {With(K::Output, 0, 0, 1), "出力1 OFF"},
           {With(K::Output, 1, 0, 2), "出力2 ON "},
           {With(K::Output, 0, 0, 9), "出力2 OFF"},
           {With(K::Goto, 0, 0, 0, 42), "042"},
           {With(K::ExtOutput, 0, 0, 5), "BITSET 1010"},
           {With(K::ExtOutput, 0, 0, 0x1E), "BITSET 0111"},
           {With(K::Compare, 0, 0), "="},
           {With(K::Compare, 0, 1), ">"},
           {With(K::Compare, 0, 7), "<"},
           {Variable(0, 0, 5), "A = 5"},
           {Variable(0, 3, 5), "A = A x 5"},
           {Variable(0, 4, -5), "A = A / -5"},
           {Variable(0, 11, 5), "A = A / B"},
           {Variable(1, 6, 5), "B = 入力2"},
           {Variable(1, 10, 5), "B = B x A"},
           {Variable(1, 12, 5), ""},
           {With(K::VarCompare, 9, 0), "A = 9"},
           {With(K::VarCompare, 9, 5), "B < 9"},
           {With(K::VarCompare, 9, 8), "A < B"},
           {With(K::VarCompare, 9, 9), ""},
       }) {
    EXPECT_EQ(StepCaption(c.step, Identity), c.caption) << c.step.kind << " " << c.step.op;
  }
}

TEST(TuneDisplayNameTest, FoldersAndCutting) {
  EXPECT_EQ(TuneDisplayName("C:\\music\\sakura_no_uta.olg"), "sakura_no...");
  EXPECT_EQ(TuneDisplayName("C:\\music\\twelve_b.olg"), "twelve_b.olg");  // 12 bytes: whole
  EXPECT_EQ(TuneDisplayName("thirteen_.olg"), "thirteen_...");
  EXPECT_EQ(TuneDisplayName("/home/kid/tunes/a.olg"), "a.olg");
  EXPECT_EQ(TuneDisplayName("C:\\x/y\\z.olg"), "z.olg");
  EXPECT_EQ(TuneDisplayName("dir\\"), "");
  EXPECT_EQ(TuneDisplayName(""), "");
}

TEST(TuneDisplayNameTest, DoubleByteCharacters) {
  // "\x83\x5C" is one character whose second byte is a backslash: not a separator.
  EXPECT_EQ(TuneDisplayName("C:\\\x83\x5C\x83\x93.olg"), "\x83\x5C\x83\x93.olg");
  // A folder ending in a character whose second byte is above 0x80 (曲, half-width ﾙ) still
  // ends at its backslash.
  EXPECT_EQ(TuneDisplayName("C:\\\x8B\xC8\\tune.olg"), "tune.olg");
  EXPECT_EQ(TuneDisplayName("\xB5\xD9\\a.olg"), "a.olg");
  // Byte 8 starts a double-byte character: 10 bytes and "..".
  EXPECT_EQ(TuneDisplayName("d\\abcdefgh\x82\xA0\x82\xA2.olg"), "abcdefgh\x82\xA0..");
  // Byte 8 is a plain byte: 9 bytes and "...".
  EXPECT_EQ(TuneDisplayName("\x82\xA0\x82\xA2\x82\xA4\x82\xA6xyz.olg"),
            "\x82\xA0\x82\xA2\x82\xA4\x82\xA6x...");
  // A name cut this way may end inside a character; the decoder copes with that.
  EXPECT_EQ(TuneDisplayName("\x82\xA0\x82\xA2\x82\xA4\x82\xA6"
                            "a\x82\xA8\x82\xA9.olg")
                .size(),
            12u);
}

TEST(TuneDisplayNameTest, StoredPathStopsAtItsNulOrTheCodeEnd) {
  StepRecord s = Step(StepKind::Orgel);
  std::memset(s.code.data() + kTunePathOffset, 'q', kTunePathCapacity);
  EXPECT_EQ(StoredTunePath(s).size(), kTunePathCapacity);  // no NUL: stops at the end
  ASSERT_TRUE(StoreTunePath(s, "a\\b.olg"));
  EXPECT_EQ(StoredTunePath(s), "a\\b.olg");
  EXPECT_EQ(StepCaption(s, nullptr), "b.olg");
}

}  // namespace
}  // namespace pendra2::flowchart
