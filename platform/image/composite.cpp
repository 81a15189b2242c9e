// Blitting premultiplied RGBA: plain copies and "over" with a blend weight.
#include <cmath>
#include <cstring>

#include "platform/image/image.h"

namespace platform {
namespace {

// The part of src that lands inside dst at (x, y), as two equally sized
// views; both empty when nothing overlaps.
void Clip(PixelView& dst, int x, int y, ConstPixelView& src) {
  const Rect target =
      Intersect(Rect{x, y, x + src.width, y + src.height}, Rect{0, 0, dst.width, dst.height});
  if (target.empty()) {
    dst.width = dst.height = src.width = src.height = 0;
    return;
  }
  src = src.Sub(Rect{target.left - x, target.top - y, target.right - x, target.bottom - y});
  dst = dst.Sub(target);
}

}  // namespace

void Copy(PixelView dst, int x, int y, ConstPixelView src) noexcept {
  Clip(dst, x, y, src);
  for (int row = 0; row < src.height; ++row) {
    std::memcpy(dst.At(0, row), src.At(0, row), static_cast<size_t>(src.width) * 4);
  }
}

void CompositeOver(PixelView dst, int x, int y, ConstPixelView src, float weight) noexcept {
  if (!(weight > 0.0f)) return;
  if (weight > 1.0f) weight = 1.0f;
  Clip(dst, x, y, src);
  // Weight in 1/65536 steps so the inner loop is integer only.
  const uint32_t w = static_cast<uint32_t>(std::lround(weight * 65536.0f));
  for (int row = 0; row < src.height; ++row) {
    const uint8_t* s = src.At(0, row);
    uint8_t* d = dst.At(0, row);
    for (int col = 0; col < src.width; ++col, s += 4, d += 4) {
      // Source scaled by the weight, in 8.16 fixed point.
      const uint32_t sa = s[3] * w;
      if (sa == 0) continue;
      if (sa == 255u * 65536u) {
        std::memcpy(d, s, 4);
        continue;
      }
      // out = s * w + d * (255 - a_s * w) / 255, rounded.
      const uint32_t keep = 255u * 65536u - sa;  // (255 - a_s * w) << 16
      for (int c = 0; c < 4; ++c) {
        const uint64_t v = static_cast<uint64_t>(s[c]) * w * 255u +
                           static_cast<uint64_t>(d[c]) * keep + 255u * 32768u;
        d[c] = static_cast<uint8_t>(v / (255u * 65536u));
      }
    }
  }
}

}  // namespace platform
