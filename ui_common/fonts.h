#pragma once
// The suite draws all text in one gothic face. Machines without "ＭＳ ゴシック" get a
// Japanese-capable stand-in so that kana and kanji never turn into boxes.

#include <QFont>
#include <QStringList>

#include "interaction/draw_list.h"

namespace pendra2::ui {

// The face every text asks for first.
inline constexpr const char* kGothicFace = "ＭＳ ゴシック";

// The faces tried in order: the requested one, then the free Japanese gothics.
QStringList GothicFamilies();

// Character height in pixels of a `points` font on a device of `dpiY` pixels per inch,
// rounded to the nearest pixel as a multiply-divide does.
int FontPixelHeight(int points, int dpiY);

// The font for `fontSpec` on a device of `dpiY` pixels per inch.
QFont MakeFont(const interaction::FontSpec& fontSpec, int dpiY);

}  // namespace pendra2::ui
