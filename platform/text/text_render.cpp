// Laying out and drawing lines of text with FreeType's grey-scale
// anti-aliased rasteriser, hinted (crisp stems at small editor sizes).
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

#include "platform/text/font_library.h"
#include "platform/text/text.h"
#include "platform/text/utf8.h"

namespace platform {
namespace {

constexpr int kMaxSize = 512;  // pixels; larger requests are clamped

// Selects the face and size for a style (its em size in 26.6 pixels goes to
// *em_out when given); caller holds the library lock.
FT_Face SizedFace(const TextStyle& style, FontMetrics* metrics,
                  FT_F26Dot6* em_out = nullptr) noexcept {
  FT_Face face = FontLibrary::Instance().Face(style.bold);
  if (face == nullptr) return nullptr;
  const int size = std::clamp(style.size, 1, kMaxSize);
  const double upem = face->units_per_EM;
  double em = size;
  if (style.unit == FontSizeUnit::kCellHeight) {
    // The cell is the Windows ascent + descent of the OS/2 table: a font
    // mapper asked for a positive height scales that to the height.
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const double ascent_units = os2 != nullptr ? os2->usWinAscent : face->ascender;
    const double cell_units = os2 != nullptr
                                  ? static_cast<double>(os2->usWinAscent) + os2->usWinDescent
                                  : static_cast<double>(face->ascender) - face->descender;
    em = size * upem / cell_units;
    metrics->ascent = static_cast<int>(std::lround(ascent_units * size / cell_units));
    metrics->descent = size - metrics->ascent;
    metrics->line_height = size;
  } else {
    metrics->ascent = static_cast<int>(std::lround(face->ascender * em / upem));
    metrics->descent = static_cast<int>(std::lround(-face->descender * em / upem));
    metrics->line_height = static_cast<int>(std::lround(face->height * em / upem));
  }
  const auto em26 = static_cast<FT_F26Dot6>(std::lround(em * 64.0));
  if (FT_Set_Char_Size(face, 0, em26, 72, 72) != 0) return nullptr;
  if (em_out != nullptr) *em_out = em26;
  return face;
}

// Calls fn(code_point) for each character of one line [begin, end).
template <typename Fn>
void ForEachCharacter(const std::string& text, size_t begin, size_t end, Fn fn) {
  size_t pos = begin;
  while (pos < end) {
    const char32_t c = DecodeUtf8(text.data(), end, &pos);
    if (c == '\r' && pos == end) break;  // CR LF line ends
    fn(c);
  }
}

// Calls fn(begin, end, line_index) for each line of text.
template <typename Fn>
void ForEachLine(const std::string& text, Fn fn) {
  size_t begin = 0;
  int line = 0;
  while (true) {
    const size_t end = std::min(text.find('\n', begin), text.size());
    fn(begin, end, line++);
    if (end >= text.size()) break;
    begin = end + 1;
  }
}

// A sized face and the glyphs rendered at that size.
struct Font {
  FT_Face face;
  bool bold;
  FT_F26Dot6 em;
  const CachedGlyph* Glyph(char32_t c) const {
    return FontLibrary::Instance().glyphs().Get(face, bold, em, c);
  }
};

// Advance width of one line in 26.6 pixels.
FT_Pos LineAdvance(const Font& font, const std::string& text, size_t begin, size_t end) {
  FT_Pos advance = 0;
  ForEachCharacter(text, begin, end, [&](char32_t c) {
    if (const CachedGlyph* g = font.Glyph(c)) advance += g->advance;
  });
  return advance;
}

int Round26(FT_Pos v) { return static_cast<int>((v + 32) >> 6); }

// Composites a coverage bitmap in a straight colour over premultiplied dst.
Rect BlendGlyph(PixelView dst, const CachedGlyph& glyph, int x0, int y0, const TextStyle& style) {
  const Rect area =
      Intersect(Rect{x0, y0, x0 + glyph.width, y0 + glyph.rows}, Rect{0, 0, dst.width, dst.height});
  if (area.empty()) return Rect{};
  const unsigned colour[3] = {style.red, style.green, style.blue};
  for (int y = area.top; y < area.bottom; ++y) {
    const uint8_t* coverage = glyph.coverage.data() + static_cast<size_t>(y - y0) * glyph.width;
    uint8_t* d = dst.At(area.left, y);
    for (int x = area.left; x < area.right; ++x, d += 4) {
      const unsigned a = (coverage[x - x0] * unsigned{style.alpha} + 127) / 255;
      if (a == 0) continue;
      const unsigned keep = 255 - a;
      for (int c = 0; c < 3; ++c) {
        d[c] = static_cast<uint8_t>((colour[c] * a + d[c] * keep + 127) / 255);
      }
      d[3] = static_cast<uint8_t>(a + (d[3] * keep + 127) / 255);
    }
  }
  return area;
}

}  // namespace

FontMetrics MeasureFont(const TextStyle& style) noexcept {
  FontLibrary& library = FontLibrary::Instance();
  std::lock_guard<std::mutex> guard(library.lock());
  FontMetrics metrics;
  SizedFace(style, &metrics);
  return metrics;
}

TextExtent MeasureText(const TextStyle& style, const std::string& utf8) noexcept {
  FontLibrary& library = FontLibrary::Instance();
  std::lock_guard<std::mutex> guard(library.lock());
  FontMetrics metrics;
  FT_F26Dot6 em = 0;
  FT_Face face = SizedFace(style, &metrics, &em);
  TextExtent extent;
  if (face == nullptr) return extent;
  const Font font{face, style.bold, em};
  ForEachLine(utf8, [&](size_t begin, size_t end, int line) {
    extent.width = std::max(extent.width, Round26(LineAdvance(font, utf8, begin, end)));
    extent.height = (line + 1) * metrics.line_height;
  });
  return extent;
}

Rect DrawText(PixelView dst, const Rect& box, const TextStyle& style,
              const std::string& utf8) noexcept {
  if (dst.pixels == nullptr || style.alpha == 0) return Rect{};
  FontLibrary& library = FontLibrary::Instance();
  std::lock_guard<std::mutex> guard(library.lock());
  FontMetrics metrics;
  FT_F26Dot6 em = 0;
  FT_Face face = SizedFace(style, &metrics, &em);
  if (face == nullptr) return Rect{};
  const Font font{face, style.bold, em};
  Rect touched;
  ForEachLine(utf8, [&](size_t begin, size_t end, int line) {
    const int baseline = box.top + metrics.ascent + line * metrics.line_height;
    // Lines far outside the buffer cost nothing.
    if (baseline - metrics.ascent >= dst.height || baseline + metrics.descent < 0) return;
    int left = box.left;
    if (style.align != TextAlign::kLeft) {
      const int width = Round26(LineAdvance(font, utf8, begin, end));
      left = style.align == TextAlign::kCenter ? box.left + (box.width() - width) / 2
                                               : box.right - width;
    }
    FT_Pos pen = FT_Pos{left} * 64;
    ForEachCharacter(utf8, begin, end, [&](char32_t c) {
      const CachedGlyph* glyph = font.Glyph(c);
      if (glyph == nullptr) return;
      touched = Union(touched, BlendGlyph(dst, *glyph, Round26(pen) + glyph->left,
                                          baseline - glyph->top, style));
      pen += glyph->advance;
    });
  });
  return touched;
}

}  // namespace platform
