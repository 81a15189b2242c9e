// Points and anti-aliased lines: coverage shared between neighbouring pixels,
// clipping at the view's edges.
#include "ferro/graphics/raster.h"

#include <gtest/gtest.h>

namespace {

const IColor kRed{255, 200, 0, 0};

TEST(RasterTest, VerticalLineOnAWholeColumnCoversItFully) {
  platform::Bitmap b(20, 20);
  b.Fill(0, 0, 0, 255);
  raster::DrawLine(b.view(), kRed, 10.0f, 2.0f, 10.0f, 12.0f, true);
  for (int y = 2; y <= 12; ++y) EXPECT_EQ(b.At(10, y)[0], 200) << y;
  EXPECT_EQ(b.At(11, 5)[0], 0);
  EXPECT_EQ(b.At(9, 5)[0], 0);
  EXPECT_EQ(b.At(10, 13)[0], 0);
}

TEST(RasterTest, HalfPixelOffsetSplitsTheLine) {
  platform::Bitmap b(20, 20);
  b.Fill(0, 0, 0, 255);
  raster::DrawLine(b.view(), kRed, 10.5f, 2.0f, 10.5f, 12.0f, true);
  EXPECT_EQ(b.At(10, 6)[0], 100);
  EXPECT_EQ(b.At(11, 6)[0], 100);
  // Without anti-aliasing one column takes it all.
  platform::Bitmap c(20, 20);
  raster::DrawLine(c.view(), kRed, 3.0f, 3.0f, 15.0f, 9.0f, false);
  int lit = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) lit += c.At(x, y)[0] == 200 ? 1 : 0;
  EXPECT_EQ(lit, 13);  // one pixel per column of a shallow line
}

TEST(RasterTest, DrawingOutsideTheViewIsClipped) {
  platform::Bitmap b(8, 8);
  raster::DrawLine(b.view(), kRed, -50.0f, -3.0f, 60.0f, 40.0f, true);
  raster::DrawPoint(b.view(), kRed, -1.0f, 3.0f);
  raster::DrawPoint(b.view(), kRed, 8.0f, 3.0f);
  raster::DrawPoint(b.view(), kRed, 3.4f, 2.6f);
  EXPECT_EQ(b.At(3, 3)[0], 200);
  EXPECT_EQ(b.At(3, 3)[3], 255);
}

}  // namespace
