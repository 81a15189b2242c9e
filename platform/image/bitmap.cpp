// The owned RGBA bitmap and film-strip frame access.
#include <algorithm>

#include "platform/image/image.h"

namespace platform {

Bitmap::Bitmap(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_ * 4, 0) {
  if (width_ == 0 || height_ == 0) width_ = height_ = 0;
}

ConstPixelView Bitmap::Frame(int k, int frames) const noexcept {
  if (empty() || frames < 1) return ConstPixelView{pixels_.data(), 0, 0, stride()};
  const int frame_height = height_ / frames;
  k = std::clamp(k, 0, frames - 1);
  return view().Sub(Rect{0, k * frame_height, width_, (k + 1) * frame_height});
}

void Bitmap::Fill(uint8_t r, uint8_t g, uint8_t b, uint8_t a) noexcept {
  for (size_t i = 0; i + 3 < pixels_.size(); i += 4) {
    pixels_[i] = r;
    pixels_[i + 1] = g;
    pixels_[i + 2] = b;
    pixels_[i + 3] = a;
  }
}

}  // namespace platform
