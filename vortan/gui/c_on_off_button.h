// A two-state button: the background bitmap holds the off picture above the
// on picture, each half its height. A click toggles between 0 and 1. With
// mouse input disabled the same class is a lamp that only shows its value.
// A value counts as on from 0.5, the threshold the plug-in's switches use, so
// a host's 0.7 shows the same state that the amplifier plays.
#pragma once

#include "vortan/gui/c_control.h"

namespace vortan {

class COnOffButton : public CControl {
 public:
  COnOffButton(const CRect& size, CControlListener* listener, int32_t tag,
               SharedBitmap background) noexcept
      : CControl(size, listener, tag, std::move(background)) {}

  bool isOn() const noexcept { return getValue() >= 0.5f; }

  void draw(platform::PixelView frame, const CRect& clip) noexcept override;
  bool onMouseDown(int x, int y, const platform::Modifiers& mods) noexcept override;
};

}  // namespace vortan
