#include "platform/text/font_library.h"

#include "platform/text/embedded_fonts.h"

namespace platform {

FontLibrary& FontLibrary::Instance() noexcept {
  static FontLibrary library;
  return library;
}

FontLibrary::~FontLibrary() {
  for (FT_Face& face : faces_) {
    if (face != nullptr) FT_Done_Face(face);
  }
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

FT_Face FontLibrary::Face(bool bold) noexcept {
  const int cut = bold ? 1 : 0;
  if (faces_[cut] != nullptr || face_failed_[cut]) return faces_[cut];
  if (library_ == nullptr && !library_failed_) {
    library_failed_ = FT_Init_FreeType(&library_) != 0;
    if (library_failed_) library_ = nullptr;
  }
  if (library_ == nullptr) return nullptr;
  const FontFile file = bold ? EmbeddedSansBold() : EmbeddedSansRegular();
  FT_Face face = nullptr;
  if (FT_New_Memory_Face(library_, file.data, static_cast<FT_Long>(file.size), 0, &face) != 0) {
    face_failed_[cut] = true;
    return nullptr;
  }
  faces_[cut] = face;
  return face;
}

}  // namespace platform
