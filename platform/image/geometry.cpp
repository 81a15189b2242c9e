// Rectangle and pixel-view arithmetic shared by every piece of platform/.
#include <algorithm>

#include "platform/image/image.h"

namespace platform {

Rect Intersect(const Rect& a, const Rect& b) noexcept {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.empty()) return Rect{};
  return r;
}

Rect Union(const Rect& a, const Rect& b) noexcept {
  if (a.empty()) return b.empty() ? Rect{} : b;
  if (b.empty()) return a;
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

PixelView PixelView::Sub(const Rect& r) const noexcept {
  const Rect c = Intersect(r, Rect{0, 0, width, height});
  if (c.empty()) return PixelView{pixels, 0, 0, stride};
  return PixelView{At(c.left, c.top), c.width(), c.height(), stride};
}

ConstPixelView ConstPixelView::Sub(const Rect& r) const noexcept {
  const Rect c = Intersect(r, Rect{0, 0, width, height});
  if (c.empty()) return ConstPixelView{pixels, 0, 0, stride};
  return ConstPixelView{At(c.left, c.top), c.width(), c.height(), stride};
}

}  // namespace platform
