// Text drawn with the embedded font: Arial-compatible metrics, glyphs in the
// expected box, alignment, line feeds, clipping to the buffer and the
// premultiplied pixel rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>

#include "platform/text/text.h"

namespace {

using platform::Bitmap;
using platform::Rect;
using platform::TextAlign;
using platform::TextStyle;

// The bounding box of every pixel with any coverage.
Rect Ink(const Bitmap& b) {
  Rect r{b.width(), b.height(), 0, 0};
  for (int y = 0; y < b.height(); ++y) {
    for (int x = 0; x < b.width(); ++x) {
      if (b.At(x, y)[3] == 0) continue;
      r.left = std::min(r.left, x), r.top = std::min(r.top, y);
      r.right = std::max(r.right, x + 1), r.bottom = std::max(r.bottom, y + 1);
    }
  }
  return r.empty() ? Rect{} : r;
}

TextStyle Style(int size, TextAlign align = TextAlign::kLeft) {
  TextStyle s;
  s.size = size;
  s.align = align;
  return s;
}

TEST(Text, TwelvePixelArialHasWindowsCellMetrics) {
  // A 12-pixel cell: ascent 10, descent 2, lines 12 pixels apart.
  const auto m = platform::MeasureFont(Style(12));
  EXPECT_EQ(m.ascent, 10);
  EXPECT_EQ(m.descent, 2);
  EXPECT_EQ(m.line_height, 12);
  // Arial's digits are 0.556 em wide: ten of them at 10.7 px em are about 60 px.
  const auto digits = platform::MeasureText(Style(12), "0123456789");
  EXPECT_NEAR(digits.width, 60, 2);
  EXPECT_EQ(digits.height, 12);
  // Em sizing: 12 px em, line spacing from the font's own line gap.
  TextStyle em = Style(12);
  em.unit = platform::FontSizeUnit::kEm;
  EXPECT_EQ(platform::MeasureFont(em).line_height, 14);
}

TEST(Text, GlyphsLandInsideTheirLineCell) {
  Bitmap b(60, 30);
  const Rect touched = platform::DrawText(b.view(), Rect{5, 4, 60, 30}, Style(12), "Hxg");
  const Rect ink = Ink(b);
  ASSERT_FALSE(ink.empty());
  // Cap height sits just under the cell top; the descender of g stays in the cell.
  EXPECT_GE(ink.top, 4 + 1);
  EXPECT_LE(ink.top, 4 + 4);
  EXPECT_LE(ink.bottom, 4 + 12);
  EXPECT_GE(ink.bottom, 4 + 10);
  EXPECT_GE(ink.left, 5);
  EXPECT_LE(ink.left, 5 + 2);
  // The reported area holds all ink.
  EXPECT_EQ(platform::Intersect(touched, ink).width(), ink.width());
  EXPECT_EQ(platform::Intersect(touched, ink).height(), ink.height());
}

TEST(Text, LinesAlignLeftCentredOrRightInTheBox) {
  const std::string s = "MID";
  const int width = platform::MeasureText(Style(12), s).width;
  for (TextAlign align : {TextAlign::kLeft, TextAlign::kCenter, TextAlign::kRight}) {
    Bitmap b(100, 20);
    platform::DrawText(b.view(), Rect{10, 0, 90, 20}, Style(12, align), s);
    const Rect ink = Ink(b);
    const int expected_left = align == TextAlign::kLeft     ? 10
                              : align == TextAlign::kCenter ? 10 + (80 - width) / 2
                                                            : 90 - width;
    EXPECT_NEAR(ink.left, expected_left, 2) << static_cast<int>(align);
    EXPECT_NEAR(ink.right, expected_left + width, 2) << static_cast<int>(align);
  }
}

TEST(Text, LineFeedsStartLinesOneLineHeightApartWithoutWrapping) {
  Bitmap one(200, 60);
  Bitmap three(200, 60);
  platform::DrawText(one.view(), Rect{0, 0, 20, 60}, Style(12), "Bias");
  platform::DrawText(three.view(), Rect{0, 0, 20, 60}, Style(12), "Bias\r\n\nBias");
  const Rect a = Ink(one);
  const Rect c = Ink(three);
  EXPECT_EQ(c.top, a.top);
  EXPECT_EQ(c.bottom, a.bottom + 24);  // third line, the empty one between
  EXPECT_EQ(c.left, a.left);
  EXPECT_EQ(c.right, a.right);  // wider than the 20-pixel box: not wrapped
  EXPECT_EQ(platform::MeasureText(Style(12), "Bias\n\nBias").height, 36);
  EXPECT_EQ(platform::MeasureText(Style(12), "").height, 12);
}

TEST(Text, TextPastTheBufferEdgesIsClippedToTheBuffer) {
  Bitmap b(16, 10);
  const std::string s = "Ferro BETA 3\nOstra Audio\nWWWWWWWWWW";
  // Starting left of and above the buffer, and near its far corner.
  Rect t1 = platform::DrawText(b.view(), Rect{-30, -9, 10, 20}, Style(24), s);
  Rect t2 = platform::DrawText(b.view(), Rect{12, 2, 40, 40}, Style(24, TextAlign::kRight), s);
  Rect t3 = platform::DrawText(b.view(), Rect{-5000, 9000, 0, 0}, Style(12), s);
  for (const Rect& t : {t1, t2}) {
    EXPECT_FALSE(t.empty());
    EXPECT_GE(t.left, 0);
    EXPECT_GE(t.top, 0);
    EXPECT_LE(t.right, 16);
    EXPECT_LE(t.bottom, 10);
  }
  EXPECT_TRUE(t3.empty());
  // A view onto part of a bigger bitmap clips at the view, not the bitmap.
  Bitmap big(40, 40);
  platform::DrawText(big.view().Sub(Rect{10, 10, 20, 20}), Rect{0, 0, 40, 40}, Style(24), "WW");
  const Rect ink = Ink(big);
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 20);
  EXPECT_LE(ink.bottom, 20);
}

TEST(Text, CoverageBlendsAsPremultipliedColour) {
  Bitmap clear(80, 30);
  TextStyle s = Style(24);
  s.red = 255, s.green = 128, s.blue = 0, s.alpha = 200;
  platform::DrawText(clear.view(), Rect{0, 0, 80, 30}, s, "Il");
  int solid = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 80; ++x) {
      const uint8_t* p = clear.At(x, y);
      ASSERT_LE(p[0], p[3]);  // premultiplied: no colour above its alpha
      ASSERT_LE(p[1], p[3]);
      if (p[3] == 200) {
        ++solid;
        EXPECT_EQ(p[0], 200);
        EXPECT_EQ(p[1], 100);
        EXPECT_EQ(p[2], 0);
      }
    }
  }
  EXPECT_GT(solid, 20);  // the stems are fully covered
  // Black on an opaque white panel stays opaque.
  Bitmap panel(40, 20);
  panel.Fill(255, 255, 255, 255);
  platform::DrawText(panel.view(), Rect{0, 0, 40, 20}, Style(12), "-51");
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) ASSERT_EQ(panel.At(x, y)[3], 255);
  }
  EXPECT_FALSE(Ink(panel).empty());
}

TEST(Text, MalformedUtf8AndEmptyTextAreHarmless) {
  Bitmap b(60, 20);
  EXPECT_TRUE(platform::DrawText(b.view(), Rect{0, 0, 60, 20}, Style(12), "").empty());
  platform::DrawText(b.view(), Rect{0, 0, 60, 20}, Style(12), std::string("\xFF\xC0 x\xE2", 5));
  EXPECT_TRUE(platform::DrawText(platform::PixelView{}, Rect{0, 0, 9, 9}, Style(12), "x").empty());
  TextStyle huge = Style(100000);
  Bitmap small(8, 8);
  platform::DrawText(small.view(), Rect{0, 0, 8, 8}, huge, "W");  // clamped size, clipped
}

TEST(Text, ConcurrentDrawingGivesTheSamePixels) {
  const std::string s = "Software:\n\nSelect quality..";
  Bitmap reference(170, 40);
  platform::DrawText(reference.view(), Rect{0, 0, 170, 40}, Style(12), s);
  Bitmap results[4] = {Bitmap(170, 40), Bitmap(170, 40), Bitmap(170, 40), Bitmap(170, 40)};
  std::thread threads[4];
  for (int i = 0; i < 4; ++i) {
    threads[i] = std::thread([&, i] {
      TextStyle style = Style(i % 2 ? 24 : 12);
      for (int n = 0; n < 20; ++n) {
        Bitmap scratch(170, 40);
        platform::DrawText(scratch.view(), Rect{0, 0, 170, 40}, style, s);
      }
      platform::DrawText(results[i].view(), Rect{0, 0, 170, 40}, Style(12), s);
    });
  }
  for (auto& t : threads) t.join();
  for (const Bitmap& r : results) {
    EXPECT_TRUE(std::equal(r.data(), r.data() + 170 * 40 * 4, reference.data()));
  }
}

}  // namespace
