#include "flowchart/listing_templates.h"

namespace pendra2::flowchart {
namespace {

struct TemplateRow {
  const char* basic;
  const char* japanese;
  const char* c;
};

// Row order is fixed: rows 3, 4 and 7 are produced by no step but keep their places. The
// gaps before THEN/GOTO in most BASIC-like rows (and after オン in row 7) are ideographic
// spaces, row 6 has an ordinary one; the blanks closing rows 8 and 9 belong to the texts.
// The last row of empty texts ends the table.
constexpr TemplateRow kRows[kListingTemplateRows + 1] = {
    {"%03d:START", "%3d行目:はじめ", "%03d:main{"},                                // 0
    {"%03d:PLAYORGEL(%s)", "%3d行目:オルゴール演奏(%s)", "%03d:PlayOrgel(%s) ;"},  // 1
    {"%03d:IF TIMER(%3.1lf)　THEN HALT", "%3d行目:タイマー%3.1lf秒待機",
     "%03d:if(timer(%3.1lf)) wait();"},  // 2
    {"%03d:IF input_%d < %d　THEN HALT", "%3d行目:もし入力%dが%dより小さいなら待機",
     "%03d:if(input_%d < %d) wait();"},  // 3
    {"%03d:IF switch = OFF THEN HALT", "%3d行目:もしスイッチがオフなら待機",
     "%03d:if(switch off) wait();"},  // 4
    {"%03d:IF input_%d >= %d　GOTO %03d", "%3d行目:もし入力%dが%d以上なら%3d行目へ",
     "%03d:if(input_%d >= %d) goto %03d;"},  // 5
    {"%03d:IF input_%d < %d GOTO %03d", "%3d行目:もし入力%dが%dより小さいなら%3d行目へ",
     "%03d:if(input_%d < %d) goto %03d;"},  // 6
    {"%03d:IF switch = ON GOTO %03d", "%3d行目:もしスイッチがオン　なら %3d行目へ",
     "%03d:if(switch on) goto %03d;"},                                            // 7
    {"%03d:FOR I=1 to %d", "%3d行目:%d回くり返し ", "%03d:for(i=1;i<%d;i++){"},   // 8
    {"%03d:NEXT", "%3d行目:くり返し戻る", "%03d:} do "},                          // 9
    {"%03d:LED (%s)", "%3d行目:LEDを %s", "%03d:LED(%s) ;"},                      // 10
    {"%03d:OUTPORT%d(%s)", "%3d行目:出力ポート%dを %s", "%03d:outport%d(%s) ;"},  // 11
    {"%03d:END", "%3d行目:おわり", "%03d:}"},                                     // 12
    {"%03d:GOTO %03d", "%3d行目:%3d行目へ", "%03d:goto %03d;"},                   // 13
    {"%03d:IF input_1 = input_2　GOTO %03d", "%3d行目:もし入力1が入力2と同値なら%3d行目へ",
     "%03d:if(input_1 == input_2) goto %03d;"},  // 14
    {"%03d:IF input_1 > input_2　GOTO %03d", "%3d行目:もし入力1が入力2より大きいなら%3d行目へ",
     "%03d:if(input_1 > input_2) goto %03d;"},  // 15
    {"%03d:IF input_1 < input_2　GOTO %03d", "%3d行目:もし入力1が入力2より小さいなら%3d行目へ",
     "%03d:if(input_1 < input_2) goto %03d;"},                                    // 16
    {"%03d:OUTBIT(%s)", "%3d行目:拡張出力ポートセット %s", "%03d:outBIT(%s) ;"},  // 17
    {"%03d:IF A = %d　GOTO %03d", "%3d行目:もし変数Aが %d と同値なら%3d行目へ",
     "%03d:if(A == %d) goto %03d;"},  // 18
    {"%03d:IF A > %d　GOTO %03d", "%3d行目:もし変数Aが %d より大きいなら%3d行目へ",
     "%03d:if(A > %d) goto %03d;"},  // 19
    {"%03d:IF A < %d　GOTO %03d", "%3d行目:もし変数Aが %d より小さいなら%3d行目へ",
     "%03d:if(A < %d) goto %03d;"},                                                    // 20
    {"%03d: A = %d", "%3d行目:変数Aに %d を代入", "%03d: A = %d ;"},                   // 21
    {"%03d: A = A + %d", "%3d行目:変数Aに %d を加算", "%03d: A += %d ;"},              // 22
    {"%03d: A = A - %d", "%3d行目:変数Aから %d を減算", "%03d: A -= %d ;"},            // 23
    {"%03d: A = 入力%d", "%3d行目:変数Aに入力%d の値を代入", "%03d: A = input_%d ;"},  // 24
    {"%03d: A = A + B", "%3d行目:変数AにAとBの和を代入", "%03d: A += B ;"},            // 25
    {"%03d: A = A - B", "%3d行目:変数AにAとBの差を代入", "%03d: A -= B ;"},            // 26
    {"%03d: A = A * B", "%3d行目:変数AにAとBの積を代入", "%03d: A *= B ;"},            // 27
    {"%03d: A = A / B", "%3d行目:変数AにAとBの商を代入", "%03d: A /= B ;"},            // 28
    {"%03d: B = %d", "%3d行目:変数Bに %d を代入", "%03d: B = %d ;"},                   // 29
    {"%03d: B = B + %d", "%3d行目:変数Bに %d を加算", "%03d: B += %d ;"},              // 30
    {"%03d: B = B - %d", "%3d行目:変数Bから %d を減算", "%03d: B -= %d ;"},            // 31
    {"%03d: B = 入力%d", "%3d行目:変数Bに入力%d の値を代入", "%03d: B = input_%d ;"},  // 32
    {"%03d: B = B + A", "%3d行目:変数BにBとAの和を代入", "%03d: B += A ;"},            // 33
    {"%03d: B = B - A", "%3d行目:変数BにBとAの差を代入", "%03d: B -= A ;"},            // 34
    {"%03d: B = B * A", "%3d行目:変数BにBとAの積を代入", "%03d: B *= A ;"},            // 35
    {"%03d: B = B / A", "%3d行目:変数BにBとAの商を代入", "%03d: B /= A ;"},            // 36
    {"%03d:IF B = %d　GOTO %03d", "%3d行目:もし変数Bが %d と同値なら%3d行目へ",
     "%03d:if(B == %d) goto %03d;"},  // 37
    {"%03d:IF B > %d　GOTO %03d", "%3d行目:もし変数Bが %d より大きいなら%3d行目へ",
     "%03d:if(B > %d) goto %03d;"},  // 38
    {"%03d:IF B < %d　GOTO %03d", "%3d行目:もし変数Bが %d より小さいなら%3d行目へ",
     "%03d:if(B < %d) goto %03d;"},  // 39
    {"%03d:IF A = B　GOTO %03d", "%3d行目:もし変数Aが 変数Bと同値なら%3d行目へ",
     "%03d:if(A == B) goto %03d;"},  // 40
    {"%03d:IF A > B　GOTO %03d", "%3d行目:もし変数Aが 変数Bより大きいなら%3d行目へ",
     "%03d:if(A > B) goto %03d;"},  // 41
    {"%03d:IF A < B　GOTO %03d", "%3d行目:もし変数Aが 変数Bより小さいなら%3d行目へ",
     "%03d:if(A < B) goto %03d;"},                                           // 42
    {"%03d: A = A * %d", "%3d行目:変数Aに %d を乗算", "%03d: A *= %d ;"},    // 43
    {"%03d: A = A / %d", "%3d行目:変数Aから %d を除算", "%03d: A /= %d ;"},  // 44
    {"%03d: B = B * %d", "%3d行目:変数Bに %d を乗算", "%03d: B *= %d ;"},    // 45
    {"%03d: B = B / %d", "%3d行目:変数Bから %d を除算", "%03d: B /= %d ;"},  // 46
    {"", "", ""},
};

}  // namespace

const char* ListingTemplate(int row, Notation notation) {
  if (row < 0 || row > kListingTemplateRows) return "";
  const TemplateRow& r = kRows[row];
  switch (notation) {
    case Notation::Basic:
      return r.basic;
    case Notation::Japanese:
      return r.japanese;
    case Notation::C:
      return r.c;
  }
  return "";
}

}  // namespace pendra2::flowchart
