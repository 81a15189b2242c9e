// PNG bytes in memory -> 8-bit premultiplied RGBA, with libpng's simplified
// reading API (it expands palettes, grey, 16-bit samples and interlacing and
// reports every failure as a status, without longjmp into our frames).
#include <png.h>

#include <cassert>
#include <cstring>
#include <new>

#include "platform/image/image.h"

namespace platform {
namespace {

// Images larger than this are refused: no editor artwork comes near it, and
// a corrupt header must not ask for gigabytes.
constexpr png_uint_32 kMaxSide = 16384;
constexpr size_t kMaxPixels = size_t{1} << 26;

void Premultiply(Bitmap& bitmap) {
  uint8_t* p = bitmap.data();
  const size_t n = static_cast<size_t>(bitmap.width()) * bitmap.height();
  for (size_t i = 0; i < n; ++i, p += 4) {
    const unsigned a = p[3];
    if (a == 255) continue;
    for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>((p[c] * a + 127) / 255);
  }
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, Bitmap* out) noexcept {
  if (out == nullptr) return false;
  *out = Bitmap();
  if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) {
    png_image_free(&image);
    return false;
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide ||
      static_cast<size_t>(image.width) * image.height > kMaxPixels) {
    png_image_free(&image);
    return false;
  }
  // Straight RGBA in sRGB bytes; we premultiply ourselves so the rounding is
  // ours and the same on every platform.
  image.format = PNG_FORMAT_RGBA;
  Bitmap bitmap;
  try {
    bitmap = Bitmap(static_cast<int>(image.width), static_cast<int>(image.height));
  } catch (const std::bad_alloc&) {
    png_image_free(&image);
    return false;
  }
  if (!png_image_finish_read(&image, nullptr, bitmap.data(), bitmap.stride(), nullptr)) {
    png_image_free(&image);
    return false;
  }
  // A warning (e.g. a damaged ancillary chunk) still gives a whole picture;
  // an error has already returned above.
  png_image_free(&image);
  Premultiply(bitmap);
  *out = std::move(bitmap);
  return true;
}

Bitmap DecodeFixedPng(const uint8_t* data, size_t size, int expected_width,
                      int expected_height) noexcept {
  Bitmap bitmap;
  const bool decoded = DecodePng(data, size, &bitmap);
  const bool sized = expected_width == 0 || expected_height == 0 ||
                     (bitmap.width() == expected_width && bitmap.height() == expected_height);
  assert(decoded && "embedded image is missing or not a readable PNG");
  assert(sized && "embedded image has the wrong size");
  if (decoded && sized) return bitmap;
  if (expected_width > 0 && expected_height > 0) {
    try {
      return Bitmap(expected_width, expected_height);
    } catch (const std::bad_alloc&) {
    }
  }
  return Bitmap();
}

}  // namespace platform
