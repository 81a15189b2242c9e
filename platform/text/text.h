// Text drawn with an embedded font into an RGBA buffer.
//
// The font files travel inside the library (embedded at build time), so
// drawing reads no files. Faces: "Arial", "Helvetica", "Liberation Sans",
// "sans-serif" and any name not known (the way a system font mapper picks a
// substitute) draw in Liberation Sans, which has Arial's metrics; `bold`
// picks its bold cut. Italic is not carried; an italic request draws upright.
//
// Layout: UTF-8 text, lines broken at line feeds (a carriage return before a
// line feed is ignored), no word wrap. The first line's cell starts at the top
// of the box; each line is aligned on its own inside the box's width (left,
// centred or right). Glyphs are clipped to the target buffer only, not to the
// box. Invalid UTF-8 bytes draw as U+FFFD's glyph (or nothing when the font
// has none); glyphs missing from the font draw as the font's .notdef box.
//
// Threads: any thread; the font data is shared read-only and each call uses
// its own renderer state, guarded by a lock of this library. Drawing is
// set-up-speed code for editors (it may allocate); keep it off the audio path.
#pragma once

#include <cstdint>
#include <string>

#include "platform/image/image.h"

namespace platform {

enum class TextAlign { kLeft = 0, kCenter = 1, kRight = 2 };

// How `size` is meant.
enum class FontSizeUnit {
  // The font's cell height (ascent + descent) in pixels: what a positive
  // font height asks of a Windows font mapper, and so what "Arial at 12
  // pixels" means on the editors' home system.
  kCellHeight,
  // The em size in pixels (a CSS px size, FreeType's pixel size).
  kEm,
};

struct TextStyle {
  std::string face = "Arial";
  int size = 12;
  FontSizeUnit unit = FontSizeUnit::kCellHeight;
  bool bold = false;
  bool italic = false;  // accepted, drawn upright (see above)
  // Straight (not premultiplied) colour; alpha 255 is opaque.
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 255;
  TextAlign align = TextAlign::kLeft;
};

// Line metrics of a style, in whole pixels.
struct FontMetrics {
  int ascent = 0;       // baseline below the top of a line's cell
  int descent = 0;      // cell below the baseline
  int line_height = 0;  // distance between baselines of consecutive lines
};

FontMetrics MeasureFont(const TextStyle& style) noexcept;

// The size of the laid-out text: the widest line's advance width and
// line_height * number of lines (an empty string is one empty line).
struct TextExtent {
  int width = 0;
  int height = 0;
};
TextExtent MeasureText(const TextStyle& style, const std::string& utf8) noexcept;

// Draws utf8 into dst inside `box` (its width is what lines align in; its
// top is where the first line's cell starts). Anti-aliased coverage is
// composited over dst's premultiplied pixels in the style's colour. Returns
// the rectangle of dst that was touched (empty when nothing was drawn), for
// a caller that tracks dirty areas.
Rect DrawText(PixelView dst, const Rect& box, const TextStyle& style,
              const std::string& utf8) noexcept;

}  // namespace platform
