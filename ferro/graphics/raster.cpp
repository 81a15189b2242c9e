#include "ferro/graphics/raster.h"

#include <cmath>
#include <cstdint>
#include <utility>

namespace raster {
namespace {

uint8_t ToByte(float v) {
  if (v <= 0.0f) return 0;
  if (v >= 255.0f) return 255;
  return static_cast<uint8_t>(v + 0.5f);
}

float Frac(float v) { return v - std::floor(v); }

}  // namespace

void BlendPixel(platform::PixelView dst, int x, int y, const IColor& c, float coverage) noexcept {
  if (x < 0 || y < 0 || x >= dst.width || y >= dst.height || coverage <= 0.0f) return;
  if (coverage > 1.0f) coverage = 1.0f;
  const float a = static_cast<float>(c.A) / 255.0f * coverage;
  uint8_t* p = dst.At(x, y);
  const float keep = 1.0f - a;
  p[0] = ToByte(static_cast<float>(c.R) * a + p[0] * keep);
  p[1] = ToByte(static_cast<float>(c.G) * a + p[1] * keep);
  p[2] = ToByte(static_cast<float>(c.B) * a + p[2] * keep);
  p[3] = ToByte(255.0f * a + p[3] * keep);
}

void DrawPoint(platform::PixelView dst, const IColor& c, float x, float y) noexcept {
  BlendPixel(dst, static_cast<int>(std::floor(x + 0.5f)), static_cast<int>(std::floor(y + 0.5f)), c,
             1.0f);
}

void DrawLine(platform::PixelView dst, const IColor& c, float x1, float y1, float x2, float y2,
              bool antiAlias) noexcept {
  const bool steep = std::fabs(y2 - y1) > std::fabs(x2 - x1);
  if (steep) {
    std::swap(x1, y1);
    std::swap(x2, y2);
  }
  if (x1 > x2) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  // Plots in the un-swapped coordinates.
  auto plot = [&](int major, int minor, float coverage) {
    if (steep)
      BlendPixel(dst, minor, major, c, coverage);
    else
      BlendPixel(dst, major, minor, c, coverage);
  };
  const float dx = x2 - x1;
  const float gradient = dx == 0.0f ? 0.0f : (y2 - y1) / dx;
  const int first = static_cast<int>(std::floor(x1 + 0.5f));
  const int last = static_cast<int>(std::floor(x2 + 0.5f));
  for (int major = first; major <= last; ++major) {
    const float minor = y1 + gradient * (static_cast<float>(major) - x1);
    if (!antiAlias) {
      plot(major, static_cast<int>(std::floor(minor + 0.5f)), 1.0f);
      continue;
    }
    // The ideal line through pixel centres: split between the two nearest rows.
    const int below = static_cast<int>(std::floor(minor));
    const float f = Frac(minor);
    plot(major, below, 1.0f - f);
    plot(major, below + 1, f);
  }
}

}  // namespace raster
