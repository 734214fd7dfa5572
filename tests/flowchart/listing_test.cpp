#include "flowchart/listing.h"

#include <gtest/gtest.h>

#include "program_builder.h"

namespace pendra2::flowchart {
namespace {

using namespace testing;

// ASCII passes through unchanged; the tests that need real Shift JIS live with ui_common.
std::string Identity(std::string_view s) {
  return std::string(s);
}

StepRecord Orgel(std::string_view path) {
  StepRecord s = Step(K::Orgel);
  EXPECT_TRUE(StoreTunePath(s, path));
  return s;
}

constexpr Notation kNotations[] = {Notation::Basic, Notation::Japanese, Notation::C};

// The listing line and the symbol's caption of each kind, with every argument pattern of the
// templates; the other notations are checked where their arguments differ.
TEST(ListingTest, LinesAndCaptions) {
  struct Row {
    int n;
    StepRecord step;
    const char* japanese;
    const char* caption;
    const char* basic = nullptr;
    const char* c = nullptr;
  };
  const Row rows[] = {
      {0, Step(K::Start), "  0行目:はじめ", "", "000:START", "000:main{"},
      {1, Orgel("C:\\music\\sakura_no_uta.olg"), "  1行目:オルゴール演奏(sakura_no...)",
       "sakura_no...", "001:PLAYORGEL(sakura_no...)", "001:PlayOrgel(sakura_no...) ;"},
      {4, Step(K::Wait, 3), "  4行目:タイマー1.5秒待機", "1.5", "004:IF TIMER(1.5)　THEN HALT",
       "004:if(timer(1.5)) wait();"},
      {4, Step(K::Wait, 0), "  4行目:タイマー0.0秒待機", "0.0"},
      {12, Step(K::Branch, 300, 1, 1, 7), " 12行目:もし入力2が300以上なら  7行目へ", ">=300",
       "012:IF input_2 >= 300　GOTO 007", "012:if(input_2 >= 300) goto 007;"},
      {13, Step(K::Branch, 5, 2, 2, 120), " 13行目:もし入力3が5より小さいなら120行目へ", "<5"},
      {13, Step(K::Branch, 12, 0, 0, 2), " 13行目:もし入力1が12より小さいなら  2行目へ", "<12"},
      // A damaged channel: the input number stops at the largest, never wraps around.
      {13, Step(K::Branch, 5, 1, INT32_MAX, 2), " 13行目:もし入力2147483647が5以上なら  2行目へ",
       ">=5"},
      {3, Loop(10), "  3行目:10回くり返し ", "010"},
      {5, Step(K::LoopEnd), "  5行目:くり返し戻る", ""},
      {6, Step(K::Output, 1, 0, 0), "  6行目:LEDを ON ", "LED ON ", "006:LED (ON )",
       "006:LED(ON ) ;"},
      {7, Step(K::Output, 0, 0, 2), "  7行目:出力ポート2を OFF", "出力2 OFF"},
      // The listing calls any non-zero output value ON; the symbol caption only 1.
      {1, Step(K::Output, 2, 0, 1), "  1行目:出力ポート1を ON ", "出力1 OFF", "001:OUTPORT1(ON )",
       "001:outport1(ON ) ;"},
      {254, Step(K::End), "254行目:おわり", ""},
      {8, Step(K::Goto, 0, 0, 0, 2), "  8行目:  2行目へ", "002", "008:GOTO 002", "008:goto 002;"},
      {9, Step(K::Compare, 10, 0, 0, 1), "  9行目:もし入力1が入力2と同値なら  1行目へ", "=",
       "009:IF input_1 = input_2　GOTO 001", "009:if(input_1 == input_2) goto 001;"},
      {9, Step(K::Compare, 10, 1, 0, 1), "  9行目:もし入力1が入力2より大きいなら  1行目へ", ">"},
      {9, Step(K::Compare, 10, 2, 0, 1), "  9行目:もし入力1が入力2より小さいなら  1行目へ", "<"},
      // Bit 0 first; bits above 3 are not shown.
      {10, Step(K::ExtOutput, 0, 0, 0x15), " 10行目:拡張出力ポートセット 1010", "BITSET 1010"},
      {11, Step(K::VarCompare, -4, 0, 0, 3), " 11行目:もし変数Aが -4 と同値なら  3行目へ", "A = -4",
       "011:IF A = -4　GOTO 003", "011:if(A == -4) goto 003;"},
      {11, Step(K::VarCompare, 4, 1, 0, 3), " 11行目:もし変数Aが 4 より大きいなら  3行目へ",
       "A > 4"},
      {11, Step(K::VarCompare, 4, 2, 0, 3), " 11行目:もし変数Aが 4 より小さいなら  3行目へ",
       "A < 4"},
      {11, Step(K::VarCompare, 4, 3, 0, 3), " 11行目:もし変数Bが 4 と同値なら  3行目へ", "B = 4"},
      {11, Step(K::VarCompare, 4, 4, 0, 3), " 11行目:もし変数Bが 4 より大きいなら  3行目へ",
       "B > 4"},
      {11, Step(K::VarCompare, 4, 5, 0, 3), " 11行目:もし変数Bが 4 より小さいなら  3行目へ",
       "B < 4"},
      {11, Step(K::VarCompare, 4, 6, 0, 3), " 11行目:もし変数Aが 変数Bと同値なら  3行目へ",
       "A = B"},
      {11, Step(K::VarCompare, 4, 7, 0, 3), " 11行目:もし変数Aが 変数Bより大きいなら  3行目へ",
       "A > B"},
      {11, Step(K::VarCompare, 4, 8, 0, 3), " 11行目:もし変数Aが 変数Bより小さいなら  3行目へ",
       "A < B"},
      // Each operation once, for A or for B (any non-zero channel is B).
      {2, Step(K::Variable, 7, 0, 0), "  2行目:変数Aに 7 を代入", "A = 7"},
      {2, Step(K::Variable, 7, 3, 0), "  2行目:変数Aに 7 を乗算", "A = A x 7"},
      {2, Step(K::Variable, -5, 4, 0), "  2行目:変数Aから -5 を除算", "A = A / -5"},
      {2, Step(K::Variable, 7, 5, 0), "  2行目:変数Aに入力1 の値を代入", "A = 入力1",
       "002: A = 入力1", "002: A = input_1 ;"},
      {2, Step(K::Variable, 7, 7, 0), "  2行目:変数Aに入力3 の値を代入", "A = 入力3"},
      {2, Step(K::Variable, 7, 8, 0), "  2行目:変数AにAとBの和を代入", "A = A + B"},
      {2, Step(K::Variable, 7, 11, 0), "  2行目:変数AにAとBの商を代入", "A = A / B"},
      {2, Step(K::Variable, 7, 1, 1), "  2行目:変数Bに 7 を加算", "B = B + 7"},
      {2, Step(K::Variable, 7, 2, 1), "  2行目:変数Bから 7 を減算", "B = B - 7"},
      {2, Step(K::Variable, 7, 4, 1), "  2行目:変数Bから 7 を除算", "B = B / 7"},
      {7, Step(K::Variable, 7, 6, 1), "  7行目:変数Bに入力2 の値を代入", "B = 入力2"},
      {2, Step(K::Variable, 7, 9, 5), "  2行目:変数BにBとAの差を代入", "B = B - A"},
      {2, Step(K::Variable, 7, 10, 1), "  2行目:変数BにBとAの積を代入", "B = B x A"},
  };
  // Variable B's texts are A's with the two names exchanged, operation by operation.
  const auto exchanged = [](std::string text) {
    for (char& c : text) c = c == 'A' ? 'B' : c == 'B' ? 'A' : c;
    return text;
  };
  for (int32_t op = 0; op < 12; ++op) {
    const StepRecord a = Step(K::Variable, 7, op, 0), b = Step(K::Variable, 7, op, 1);
    EXPECT_EQ(exchanged(StepCaption(a, Identity)), StepCaption(b, Identity)) << op;
    for (auto n : kNotations) {
      EXPECT_EQ(exchanged(ListingLine(2, a, n, Identity)), ListingLine(2, b, n, Identity)) << op;
    }
  }
  for (const auto& e : rows) {
    SCOPED_TRACE(e.japanese);
    EXPECT_EQ(ListingLine(e.n, e.step, Notation::Japanese, Identity), e.japanese);
    EXPECT_EQ(StepCaption(e.step, Identity), e.caption);
    if (e.basic) {
      EXPECT_EQ(ListingLine(e.n, e.step, Notation::Basic, Identity), e.basic);
      EXPECT_EQ(ListingLine(e.n, e.step, Notation::C, Identity), e.c);
    }
  }
}

// Operations and inputs a damaged file may hold: no listing row, and the caption as shown.
TEST(ListingTest, StepsWithoutARowListAsEmpty) {
  StepRecord odd = Step(K::Start);
  odd.kind = 12;
  const std::pair<StepRecord, const char*> rows[] = {{Step(K::Branch, 1, 1, 3), ">=1"},
                                                     {Step(K::Compare, 1, 3), "<"},
                                                     {Step(K::Compare, 1, -1), "<"},
                                                     {Step(K::Variable, 1, 12), ""},
                                                     {Step(K::Variable, 1, -1, 1), ""},
                                                     {Step(K::VarCompare, 0, 9), ""},
                                                     {odd, ""}};
  for (const auto& [s, caption] : rows) {
    for (auto n : kNotations) EXPECT_EQ(ListingLine(3, s, n, Identity), "") << s.kind << s.op;
    EXPECT_EQ(StepCaption(s, Identity), caption) << s.kind << s.op;
  }
  // Rows no step produces keep their places and texts; the table ends with an empty row.
  for (int row = 0; row < kListingTemplateRows; ++row) {
    for (auto n : kNotations) EXPECT_STRNE(ListingTemplate(row, n), "") << row;
  }
  EXPECT_STREQ(ListingTemplate(kListingTemplateRows, Notation::Japanese), "");
  EXPECT_STREQ(ListingTemplate(-1, Notation::C), "");
}

TEST(TuneDisplayNameTest, FoldersAndCutting) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"C:\\music\\twelve_b.olg", "twelve_b.olg"},  // 12 bytes: whole
      {"thirteen_.olg", "thirteen_..."},
      {"C:\\x/y\\z.olg", "z.olg"},
      {"dir\\", ""},
      // "\x83\x5C" is one character whose second byte is a backslash: not a separator.
      {"C:\\\x83\x5C\x83\x93.olg", "\x83\x5C\x83\x93.olg"},
      // Any backslash after a byte above 0x80 is taken as such a second byte.
      {"C:\\\x8B\xC8\\tune.olg", "\x8B\xC8\\tune.olg"},
      {"x\x80\\a.olg", "a.olg"},
      // Byte 8 starts a double-byte character: 10 bytes and ".."; else 9 bytes and "...".
      {"d\\abcdefgh\x82\xA0\x82\xA2.olg", "abcdefgh\x82\xA0.."},
      {"\x82\xA0\x82\xA2\x82\xA4\x82\xA6xyz.olg", "\x82\xA0\x82\xA2\x82\xA4\x82\xA6x..."},
      {"\x82\xA0\x82\xA2\x82\xA4\x82\xA6"
       "a\x82\xA8\x82\xA9.olg",
       "\x82\xA0\x82\xA2\x82\xA4\x82\xA6"
       "a..."},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(TuneDisplayName(path), name) << path;
}

}  // namespace
}  // namespace pendra2::flowchart
