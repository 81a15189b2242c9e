#include "platform/text/glyph_cache.h"

#include <cstring>

namespace platform {

const CachedGlyph* GlyphCache::Get(FT_Face face, bool bold, FT_F26Dot6 em, char32_t c) {
  const uint64_t key = (uint64_t{bold} << 63) | (static_cast<uint64_t>(em & 0x7FFFFFFF) << 32) |
                       static_cast<uint64_t>(c);
  const auto found = glyphs_.find(key);
  if (found != glyphs_.end()) return &found->second;
  if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0) return nullptr;
  const FT_GlyphSlot slot = face->glyph;
  CachedGlyph glyph;
  glyph.advance = slot->advance.x;
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  if (slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && slot->bitmap.buffer != nullptr) {
    glyph.width = static_cast<int>(slot->bitmap.width);
    glyph.rows = static_cast<int>(slot->bitmap.rows);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.rows);
    for (int y = 0; y < glyph.rows; ++y) {
      std::memcpy(glyph.coverage.data() + static_cast<size_t>(y) * glyph.width,
                  slot->bitmap.buffer + static_cast<ptrdiff_t>(y) * slot->bitmap.pitch,
                  static_cast<size_t>(glyph.width));
    }
  }
  if (glyphs_.size() >= kCapacity) glyphs_.clear();
  return &glyphs_.emplace(key, std::move(glyph)).first->second;
}

}  // namespace platform
