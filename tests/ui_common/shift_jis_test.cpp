#include <gtest/gtest.h>

#include "flowchart/listing.h"
#include "flowchart/step_code.h"
#include "ui_common/shift_jis.h"

namespace pendra2::ui {
namespace {

TEST(ShiftJisTest, RoundTripAndRefusals) {
  const std::string path = "C:\\音楽\\ソフト表示\\さくら.olg";
  const auto sjis = Utf8ToShiftJis(path);
  ASSERT_TRUE(sjis.has_value());
  // ソ and 表 end in a 0x5C byte, the classic trap for backslash handling.
  EXPECT_NE(sjis->find("\x83\x5C\x83\x74\x83\x67\x95\x5C"), std::string::npos);
  EXPECT_EQ(ShiftJisToUtf8(*sjis), path);
  EXPECT_EQ(Utf8ToShiftJis("～"), std::string("\x81\x60"));  // the Windows wave dash
  EXPECT_EQ(Utf8ToShiftJis(""), std::string());
  for (const char* refused : {"café", "\xF0\x9F\x8E\xB5", "\xC3"}) {  // no form, emoji, broken
    EXPECT_FALSE(Utf8ToShiftJis(refused).has_value()) << refused;
  }
  // NEC extension, wave dash, half-width kana; damaged and cut-short bytes.
  const std::pair<std::string, std::string> decoded[] = {{"\x87\x40", "①"},
                                                         {"\x81\x60", "～"},
                                                         {"\xB1\xB2", "ｱｲ"},
                                                         {"a\xFF!", "a\uFFFD!"},
                                                         {"ab\x82", "ab\uFFFD"}};
  for (const auto& [bytes, utf8] : decoded) EXPECT_EQ(ShiftJisToUtf8(bytes), utf8);
}

TEST(ShiftJisTest, DisplayNamesOfJapaneseTunes) {
  using namespace pendra2::flowchart;
  StepRecord step;
  step.kind = static_cast<int32_t>(StepKind::Orgel);
  // Byte 8 of the name is the lead byte of ら: ten bytes and "..".
  ASSERT_TRUE(StoreTunePath(step, *Utf8ToShiftJis("C:\\音楽\\さくらさくら.olg")));
  EXPECT_EQ(StepCaption(step, ShiftJisToUtf8), "さくらさく..");
  ASSERT_TRUE(StoreTunePath(step, *Utf8ToShiftJis("ソ.olg")));  // 0x5C second byte: no cut
  EXPECT_EQ(StepCaption(step, ShiftJisToUtf8), "ソ.olg");
}

}  // namespace
}  // namespace pendra2::ui
