// A film-strip knob: the background bitmap holds `subPixmaps` frames of
// `heightOfOneImage` pixels stacked from the top; value 0 shows the first,
// value 1 the last, values between the nearest frame. Dragging follows the
// global knob mode (knob_mode.h); the wheel moves wheelInc per notch.
#pragma once

#include "vortan/gui/c_control.h"
#include "vortan/gui/knob_mode.h"

namespace vortan {

class CAnimKnob : public CControl {
 public:
  static constexpr float kWheelInc = 0.1f;
  // Linear mode: pixels of vertical travel for the whole range.
  static constexpr float kLinearRangePixels = 200.0f;
  // The knob's sweep: from 225 degrees (lower left, value 0) clockwise
  // through the top to -45 degrees (lower right, value 1).
  static constexpr double kStartAngle = 3.92699081698724154808;  // 5 pi / 4
  static constexpr double kRangeAngle = 4.71238898038468985769;  // 3 pi / 2

  CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int subPixmaps,
            int heightOfOneImage, SharedBitmap background) noexcept;

  // The frame shown for a value (0 .. subPixmaps - 1).
  int frameForValue(float value) const noexcept;
  // Circular mode: the value the pointer's angle round the centre stands for;
  // the dead zone below the knob goes to the nearer end of the sweep.
  double angleOf(int x, int y) const noexcept;
  float valueFromAngle(double angle) const noexcept;

  void draw(platform::PixelView frame, const CRect& clip) noexcept override;
  bool onMouseDown(int x, int y, const platform::Modifiers& mods) noexcept override;
  void onMouseMoved(int x, int y, const platform::Modifiers& mods) noexcept override;
  bool onWheel(float notches, const platform::Modifiers& mods) noexcept override;

 private:
  int subPixmaps_;
  int heightOfOneImage_;
  // Drag state (window thread only).
  int32_t dragMode_ = kCircularMode;
  int startY_ = 0;
  float startValue_ = 0.0f;
  double startAngle_ = 0.0;
};

}  // namespace vortan
