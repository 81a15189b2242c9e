// Blitting premultiplied pixels: weights, clipping and film-strip frames.
#include <gtest/gtest.h>

#include "platform/image/image.h"

namespace {

platform::Bitmap Solid(int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  platform::Bitmap bitmap(w, h);
  bitmap.Fill(r, g, b, a);
  return bitmap;
}

TEST(Composite, OpaqueSourceAtFullWeightCopiesExactly) {
  auto dst = Solid(4, 4, 10, 20, 30, 255);
  const auto src = Solid(2, 2, 200, 100, 50, 255);
  platform::CompositeOver(dst.view(), 1, 1, src.view());
  EXPECT_EQ(dst.At(1, 1)[0], 200);
  EXPECT_EQ(dst.At(2, 2)[2], 50);
  EXPECT_EQ(dst.At(0, 0)[0], 10);
  EXPECT_EQ(dst.At(3, 3)[0], 10);
}

TEST(Composite, WeightActsAsOpacityOnPremultipliedPixels) {
  auto dst = Solid(1, 1, 0, 0, 200, 255);
  const auto src = Solid(1, 1, 255, 0, 0, 255);
  platform::CompositeOver(dst.view(), 0, 0, src.view(), 0.25f);  // a greyed control
  // 255 * 0.25 over 200 * 0.75.
  EXPECT_EQ(dst.At(0, 0)[0], 64);
  EXPECT_EQ(dst.At(0, 0)[2], 150);
  EXPECT_EQ(dst.At(0, 0)[3], 255);

  // Half-transparent premultiplied white over black at full weight.
  auto black = Solid(1, 1, 0, 0, 0, 255);
  const auto glass = Solid(1, 1, 128, 128, 128, 128);
  platform::CompositeOver(black.view(), 0, 0, glass.view());
  EXPECT_EQ(black.At(0, 0)[0], 128);
  EXPECT_EQ(black.At(0, 0)[3], 255);

  auto untouched = Solid(1, 1, 9, 9, 9, 255);
  platform::CompositeOver(untouched.view(), 0, 0, src.view(), 0.0f);
  EXPECT_EQ(untouched.At(0, 0)[0], 9);
}

TEST(Composite, SourcesPartlyOrWhollyOutsideAreClipped) {
  auto dst = Solid(8, 8, 0, 0, 0, 255);
  const auto src = Solid(5, 5, 255, 255, 255, 255);
  platform::CompositeOver(dst.view(), -3, -2, src.view());
  EXPECT_EQ(dst.At(1, 2)[0], 255);
  EXPECT_EQ(dst.At(2, 2)[0], 0);
  EXPECT_EQ(dst.At(1, 3)[0], 0);
  platform::CompositeOver(dst.view(), 6, 7, src.view());
  EXPECT_EQ(dst.At(7, 7)[0], 255);
  EXPECT_EQ(dst.At(5, 7)[0], 0);
  platform::Copy(dst.view(), 100, -100, src.view());  // nowhere near: nothing happens
  platform::Copy(dst.view(), -5, -5, src.view());     // just outside the corner
  EXPECT_EQ(dst.At(0, 0)[0], 255);                    // from the first blit
}

TEST(Composite, FilmStripFramesAreEqualBandsFromTheTop) {
  platform::Bitmap strip(3, 12);  // 4 frames of 3 x 3
  for (int k = 0; k < 4; ++k) {
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 3; ++x) strip.At(x, k * 3 + y)[0] = static_cast<uint8_t>(k + 1);
    }
  }
  for (int k = 0; k < 4; ++k) {
    const auto frame = strip.Frame(k, 4);
    EXPECT_EQ(frame.width, 3);
    EXPECT_EQ(frame.height, 3);
    EXPECT_EQ(frame.At(2, 2)[0], k + 1);
  }
  EXPECT_EQ(strip.Frame(-1, 4).At(0, 0)[0], 1);  // clamped to the first
  EXPECT_EQ(strip.Frame(9, 4).At(0, 0)[0], 4);   // and to the last
}

TEST(Geometry, UnionAndIntersectionOfDirtyRectangles) {
  const platform::Rect a{0, 0, 10, 10};
  const platform::Rect b{5, 5, 20, 8};
  const auto i = platform::Intersect(a, b);
  EXPECT_EQ(i.left, 5);
  EXPECT_EQ(i.bottom, 8);
  EXPECT_TRUE(platform::Intersect(a, platform::Rect{10, 0, 12, 5}).empty());
  const auto u = platform::Union(platform::Rect{}, b);
  EXPECT_EQ(u.right, 20);
  EXPECT_EQ(platform::Union(a, b).right, 20);
  EXPECT_EQ(platform::Union(a, b).bottom, 10);
}

}  // namespace
