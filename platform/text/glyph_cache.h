// Rendered glyphs kept per face cut, size and character, so that an editor
// repainting the same help text at every timer tick rasterises each glyph
// once. Bounded: when full it starts over. Not thread-safe: used under the
// font library's lock.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace platform {

struct CachedGlyph {
  FT_Pos advance = 0;  // 26.6 pixels, hinted
  int left = 0;        // bitmap offset from the pen position
  int top = 0;         // bitmap top above the baseline
  int width = 0;
  int rows = 0;
  std::vector<uint8_t> coverage;  // width * rows grey levels
};

class GlyphCache {
 public:
  static constexpr size_t kCapacity = 4096;

  // The glyph of c in face (already set to em), or null when the font cannot
  // render it.
  const CachedGlyph* Get(FT_Face face, bool bold, FT_F26Dot6 em, char32_t c);

 private:
  std::unordered_map<uint64_t, CachedGlyph> glyphs_;
};

}  // namespace platform
