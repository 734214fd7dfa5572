#pragma once
// A picture as plain data: what to draw where, in device units, in painting order. The
// flowchart and score layouts produce these lists without Qt, tests read positions off
// them, and the painter turns them into pixels on a widget, an image or a printer.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace pendra2::interaction {

// An sRGB colour, 0xRRGGBB; black unless said otherwise.
struct Colour {
  uint32_t rgb = 0x000000;
  friend bool operator==(const Colour&, const Colour&) = default;
};
inline constexpr Colour kBlack{0x000000};
inline constexpr Colour kWhite{0xFFFFFF};

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Two opposite corners as the drawing calls take them: `right` and `bottom` lie just
// outside the filled area and may be smaller than `left` and `top` (a run upwards).
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return left == right || top == bottom; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Every text asks for the suite's gothic face; the painter finds a Japanese-capable
// fallback. Sizes are points, turned into pixels through the device's vertical DPI.
struct FontSpec {
  int points = 8;
  int weight = 400;
  bool antialiased = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// UTF-8 text whose cell's top left corner lies at `at`, on a transparent background.
struct TextItem {
  Point at;
  FontSpec font;
  std::string text;
  Colour colour = kBlack;
};

// The artwork called `name`, or the part `source` of it (in the artwork's own pixels; an
// empty rectangle means all of it), drawn into `dest`.
struct BitmapItem {
  std::string name;
  Rect dest;
  Rect source;
};

// A solid rectangle with an outline of the same colour: the area between the corners.
struct FillItem {
  Rect rect;
  Colour colour = kBlack;
};

// A polyline; `width` 1 is a hairline whose last point stays unpainted.
struct LineItem {
  std::vector<Point> points;
  int width = 1;
  Colour colour = kBlack;
};

using DrawItem = std::variant<TextItem, BitmapItem, FillItem, LineItem>;

struct DrawList {
  std::vector<DrawItem> items;

  void Text(Point at, FontSpec font, std::string text, Colour colour = kBlack) {
    items.emplace_back(TextItem{at, font, std::move(text), colour});
  }
  void Bitmap(std::string name, Rect dest, Rect source = {}) {
    items.emplace_back(BitmapItem{std::move(name), dest, source});
  }
  void Fill(Rect rect, Colour colour = kBlack) { items.emplace_back(FillItem{rect, colour}); }
  void Line(std::vector<Point> points, int width = 1, Colour colour = kBlack) {
    items.emplace_back(LineItem{std::move(points), width, colour});
  }
};

}  // namespace pendra2::interaction
