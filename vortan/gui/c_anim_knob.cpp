#include "vortan/gui/c_anim_knob.h"

#include <cmath>

#include "vortan/gui/knob_mode.h"

namespace vortan {
namespace {

constexpr double kTwoPi = 6.28318530717958647692;

float Clamp01(double v) noexcept { return static_cast<float>(v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v)); }

}  // namespace

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int subPixmaps,
                     int heightOfOneImage, SharedBitmap background) noexcept
    : CControl(size, listener, tag, std::move(background)),
      subPixmaps_(subPixmaps > 0 ? subPixmaps : 1),
      heightOfOneImage_(heightOfOneImage) {}

int CAnimKnob::frameForValue(float value) const noexcept {
  const int last = subPixmaps_ - 1;
  const int k = static_cast<int>(std::lround(static_cast<double>(Clamp01(value)) * last));
  return k < 0 ? 0 : (k > last ? last : k);
}

void CAnimKnob::draw(platform::PixelView frame, const CRect& clip) noexcept {
  const CBitmap* strip = background();
  if (!strip) return;
  const CRect& r = getViewSize();
  const CRect area = platform::Intersect(r, clip);
  if (area.empty()) return;
  const int k = frameForValue(getValue());
  const platform::ConstPixelView image = strip->pixels().view().Sub(
      CRect{0, k * heightOfOneImage_, strip->getWidth(), (k + 1) * heightOfOneImage_});
  // Both views clipped to the same area, so the blit lines up pixel for pixel.
  platform::CompositeOver(frame.Sub(area), 0, 0,
                          image.Sub(CRect{area.left - r.left, area.top - r.top, area.right - r.left,
                                          area.bottom - r.top}));
}

double CAnimKnob::angleOf(int x, int y) const noexcept {
  const CRect& r = getViewSize();
  const double dx = x - 0.5 * (r.left + r.right);
  const double dy = 0.5 * (r.top + r.bottom) - y;  // up is positive
  return std::atan2(dy, dx);
}

float CAnimKnob::valueFromAngle(double angle) const noexcept {
  // Clockwise distance from the start of the sweep, 0 .. 2 pi.
  double d = std::fmod(kStartAngle - angle, kTwoPi);
  if (d < 0.0) d += kTwoPi;
  if (d > kRangeAngle) return d < 0.5 * (kRangeAngle + kTwoPi) ? 1.0f : 0.0f;
  return Clamp01(d / kRangeAngle);
}

bool CAnimKnob::onMouseDown(int x, int y, const platform::Modifiers& /*mods*/) noexcept {
  dragMode_ = GetKnobMode();
  startY_ = y;
  startValue_ = getValue();
  startAngle_ = angleOf(x, y);
  if (dragMode_ == kCircularMode) userChanged(valueFromAngle(startAngle_));
  return true;
}

void CAnimKnob::onMouseMoved(int x, int y, const platform::Modifiers& mods) noexcept {
  if (!mods.left) return;
  float value = getValue();
  switch (dragMode_) {
    case kLinearMode:
      value = Clamp01(startValue_ + (startY_ - y) / static_cast<double>(kLinearRangePixels));
      break;
    case kRelativCircularMode: {
      double turned = std::fmod(startAngle_ - angleOf(x, y), kTwoPi);  // clockwise
      if (turned > 0.5 * kTwoPi) turned -= kTwoPi;
      if (turned < -0.5 * kTwoPi) turned += kTwoPi;
      value = Clamp01(startValue_ + turned / kRangeAngle);
      break;
    }
    default:
      value = valueFromAngle(angleOf(x, y));
      break;
  }
  if (value != getValue()) userChanged(value);
}

bool CAnimKnob::onWheel(float notches, const platform::Modifiers& /*mods*/) noexcept {
  const float value = Clamp01(getValue() + static_cast<double>(notches) * kWheelInc);
  if (value != getValue()) userChanged(value);
  return true;
}

}  // namespace vortan
