#include <gtest/gtest.h>

#include "flowchart/listing.h"
#include "flowchart/step_code.h"
#include "ui_common/shift_jis.h"

namespace pendra2::ui {
namespace {

TEST(ShiftJisTest, RoundTripOfJapanesePaths) {
  const std::string path = "C:\\音楽\\ソフト表示\\さくら.olg";
  const auto sjis = Utf8ToShiftJis(path);
  ASSERT_TRUE(sjis.has_value());
  // ソ and 表 end in a 0x5C byte, the classic trap for backslash handling.
  EXPECT_NE(sjis->find("\x83\x5C"), std::string::npos);
  EXPECT_NE(sjis->find("\x95\x5C"), std::string::npos);
  EXPECT_EQ(ShiftJisToUtf8(*sjis), path);
}

TEST(ShiftJisTest, WindowsCodePageCharacters) {
  EXPECT_EQ(ShiftJisToUtf8("\x87\x40"), "①");   // NEC extension
  EXPECT_EQ(ShiftJisToUtf8("\x81\x60"), "～");  // the Windows wave dash
  EXPECT_EQ(ShiftJisToUtf8("\xB1\xB2"), "ｱｲ");  // half-width katakana
  EXPECT_EQ(Utf8ToShiftJis("～"), std::string("\x81\x60"));
}

TEST(ShiftJisTest, TextWithoutAShiftJisFormIsRefused) {
  EXPECT_FALSE(Utf8ToShiftJis("café").has_value());
  EXPECT_FALSE(Utf8ToShiftJis("\xF0\x9F\x8E\xB5").has_value());  // an emoji
  EXPECT_FALSE(Utf8ToShiftJis("\xC3").has_value());              // broken UTF-8
  EXPECT_EQ(Utf8ToShiftJis(""), std::string());
}

TEST(ShiftJisTest, DamagedBytesBecomeReplacementCharacters) {
  EXPECT_EQ(ShiftJisToUtf8("a\xFF"
                           "b"),
            "a\uFFFD"
            "b");
  EXPECT_EQ(ShiftJisToUtf8("ab\x82"), "ab\uFFFD");  // cut inside a character
}

TEST(ShiftJisTest, DisplayNamesOfJapaneseTunes) {
  using namespace pendra2::flowchart;
  StepRecord step;
  step.kind = static_cast<int32_t>(StepKind::Orgel);
  // Byte 8 of the name is the lead byte of ら: ten bytes and "..".
  ASSERT_TRUE(StoreTunePath(step, *Utf8ToShiftJis("C:\\曲\\さくらさくら.olg")));
  EXPECT_EQ(StepCaption(step, ShiftJisToUtf8), "さくらさく..");
  EXPECT_EQ(ListingLine(1, step, Notation::Japanese, ShiftJisToUtf8),
            "  1行目:オルゴール演奏(さくらさく..)");
  // A folder named ソ: its 0x5C second byte does not cut the name.
  ASSERT_TRUE(StoreTunePath(step, *Utf8ToShiftJis("ソ.olg")));
  EXPECT_EQ(StepCaption(step, ShiftJisToUtf8), "ソ.olg");
}

}  // namespace
}  // namespace pendra2::ui
