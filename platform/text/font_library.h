// The process-wide FreeType library and the embedded faces, created on first
// use. FreeType objects are not thread-safe, so every use happens while the
// caller holds lock().
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <mutex>

#include "platform/text/glyph_cache.h"

namespace platform {

class FontLibrary {
 public:
  static FontLibrary& Instance() noexcept;

  std::mutex& lock() { return mutex_; }
  // The regular or bold cut, or null when FreeType could not open it.
  // Caller holds lock().
  FT_Face Face(bool bold) noexcept;
  // Rendered glyphs of every face and size. Caller holds lock().
  GlyphCache& glyphs() { return glyphs_; }

  ~FontLibrary();

 private:
  FontLibrary() = default;
  std::mutex mutex_;
  FT_Library library_ = nullptr;
  bool library_failed_ = false;
  FT_Face faces_[2] = {nullptr, nullptr};
  bool face_failed_[2] = {false, false};
  GlyphCache glyphs_;
};

}  // namespace platform
