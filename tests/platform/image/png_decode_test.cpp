// PNG decoding: formats libpng hands us, premultiplication, and refusal of
// bad input without a crash.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <vector>

#include "platform/image/image.h"

namespace {

// Encodes pixels of the given libpng simplified format into PNG bytes.
std::vector<uint8_t> Encode(const std::vector<uint8_t>& pixels, int w, int h, png_uint_32 format,
                            const uint8_t* colormap = nullptr, int colormap_entries = 0) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = format;
  image.colormap_entries = static_cast<png_uint_32>(colormap_entries);
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, colormap));
  std::vector<uint8_t> bytes(size);
  EXPECT_TRUE(
      png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, colormap));
  bytes.resize(size);
  return bytes;
}

std::vector<uint8_t> Pixel(const platform::Bitmap& b, int x, int y) {
  const uint8_t* p = b.At(x, y);
  return {p[0], p[1], p[2], p[3]};
}

TEST(PngDecode, RgbaIsPremultipliedAndOpaquePixelsStayExact) {
  // 2 x 2: opaque orange, half-transparent white, fully transparent red, opaque black.
  const std::vector<uint8_t> rgba = {255, 128, 0, 255, 255, 255, 255, 128,
                                     255, 0,   0, 0,   0,   0,   0,   255};
  const auto png = Encode(rgba, 2, 2, PNG_FORMAT_RGBA);
  platform::Bitmap b;
  ASSERT_TRUE(platform::DecodePng(png.data(), png.size(), &b));
  ASSERT_EQ(b.width(), 2);
  ASSERT_EQ(b.height(), 2);
  EXPECT_EQ(Pixel(b, 0, 0), (std::vector<uint8_t>{255, 128, 0, 255}));
  EXPECT_EQ(Pixel(b, 1, 0), (std::vector<uint8_t>{128, 128, 128, 128}));
  EXPECT_EQ(Pixel(b, 0, 1), (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(Pixel(b, 1, 1), (std::vector<uint8_t>{0, 0, 0, 255}));
}

TEST(PngDecode, GreyRgbAndPaletteImagesExpandToRgba) {
  const auto grey = Encode({0, 200, 255}, 3, 1, PNG_FORMAT_GRAY);
  platform::Bitmap b;
  ASSERT_TRUE(platform::DecodePng(grey.data(), grey.size(), &b));
  EXPECT_EQ(Pixel(b, 1, 0), (std::vector<uint8_t>{200, 200, 200, 255}));

  const auto rgb = Encode({10, 20, 30, 40, 50, 60}, 1, 2, PNG_FORMAT_RGB);
  ASSERT_TRUE(platform::DecodePng(rgb.data(), rgb.size(), &b));
  EXPECT_EQ(Pixel(b, 0, 1), (std::vector<uint8_t>{40, 50, 60, 255}));

  const uint8_t palette[] = {0, 0, 255, 255, 0, 255, 0, 255};
  const auto indexed =
      Encode({1, 0, 1, 1}, 4, 1, PNG_FORMAT_RGBA | PNG_FORMAT_FLAG_COLORMAP, palette, 2);
  ASSERT_TRUE(platform::DecodePng(indexed.data(), indexed.size(), &b));
  EXPECT_EQ(Pixel(b, 0, 0), (std::vector<uint8_t>{0, 255, 0, 255}));
  EXPECT_EQ(Pixel(b, 1, 0), (std::vector<uint8_t>{0, 0, 255, 255}));
}

TEST(PngDecode, BadInputIsRefusedAndLeavesAnEmptyBitmap) {
  const auto png = Encode(std::vector<uint8_t>(16 * 16 * 4, 7), 16, 16, PNG_FORMAT_RGBA);
  platform::Bitmap b(3, 3);
  EXPECT_FALSE(platform::DecodePng(nullptr, 100, &b));
  EXPECT_TRUE(b.empty());
  EXPECT_FALSE(platform::DecodePng(png.data(), 0, &b));
  // Truncations: the signature alone, half the header, the image data cut short.
  for (size_t n : {size_t{8}, size_t{20}, size_t{45}, png.size() - 20}) {
    EXPECT_FALSE(platform::DecodePng(png.data(), n, &b)) << n;
    EXPECT_TRUE(b.empty());
  }
  // A header with an impossible bit depth.
  auto corrupt = png;
  corrupt[24] = 3;
  EXPECT_FALSE(platform::DecodePng(corrupt.data(), corrupt.size(), &b));
  const uint8_t text[] = "not a picture at all, just some text";
  EXPECT_FALSE(platform::DecodePng(text, sizeof text, &b));
  EXPECT_FALSE(platform::DecodePng(png.data(), png.size(), nullptr));
}

TEST(PngDecode, HugeDeclaredSizeIsRefused) {
  // A valid 1 x 1 picture whose header claims 20000 x 20000 (CRC fixed up).
  auto png = Encode({1, 2, 3, 255}, 1, 1, PNG_FORMAT_RGBA);
  const uint8_t side[4] = {0x00, 0x00, 0x4E, 0x20};
  std::memcpy(&png[16], side, 4);
  std::memcpy(&png[20], side, 4);
  const uint32_t crc = static_cast<uint32_t>(crc32(0, &png[12], 17));
  const uint8_t crc_bytes[4] = {static_cast<uint8_t>(crc >> 24), static_cast<uint8_t>(crc >> 16),
                                static_cast<uint8_t>(crc >> 8), static_cast<uint8_t>(crc)};
  std::memcpy(&png[29], crc_bytes, 4);
  platform::Bitmap b;
  EXPECT_FALSE(platform::DecodePng(png.data(), png.size(), &b));
}

TEST(PngDecode, FixedImageWithTheRightSizeDecodes) {
  const auto png = Encode(std::vector<uint8_t>(4 * 6 * 4, 255), 4, 6, PNG_FORMAT_RGBA);
  const platform::Bitmap b = platform::DecodeFixedPng(png.data(), png.size(), 4, 6);
  EXPECT_EQ(b.width(), 4);
  EXPECT_EQ(b.height(), 6);
}

TEST(PngDecodeDeathTest, MissingOrWrongFixedImageAssertsInDebugAndIsBlankInRelease) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto png = Encode(std::vector<uint8_t>(4 * 6 * 4, 255), 4, 6, PNG_FORMAT_RGBA);
  platform::Bitmap b;
  EXPECT_DEBUG_DEATH(b = platform::DecodeFixedPng(nullptr, 0, 20, 40), "missing");
  EXPECT_DEBUG_DEATH(b = platform::DecodeFixedPng(png.data(), png.size(), 24, 48), "wrong size");
#ifdef NDEBUG
  // Release: a transparent bitmap of the expected size, never a crash.
  ASSERT_EQ(b.width(), 24);
  ASSERT_EQ(b.height(), 48);
  EXPECT_EQ(Pixel(b, 23, 47), (std::vector<uint8_t>{0, 0, 0, 0}));
#endif
}

}  // namespace
