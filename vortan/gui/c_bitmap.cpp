#include "vortan/gui/c_bitmap.h"

namespace vortan {

CBitmap::CBitmap(const platform::ResourceSource& source, int id, int expectedWidth,
                 int expectedHeight) noexcept
    : id_(id) {
  const platform::Resource png = source.Find(id);
  pixels_ = platform::DecodeFixedPng(png.data, png.size, expectedWidth, expectedHeight);
}

SharedBitmap LoadBitmap(const platform::ResourceSource& source, int id, int expectedWidth,
                        int expectedHeight) {
  return std::make_shared<const CBitmap>(source, id, expectedWidth, expectedHeight);
}

}  // namespace vortan
