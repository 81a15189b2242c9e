#include "ferro/editor/iknob_control.h"

#include "ferro/editor/ibitmap_control.h"
#include "ferro/graphics/igraphics_lice.h"

IKnobControl::IKnobControl(IPlugBase* plug, const IRect& rect, int paramIdx, EDirection direction,
                           double gearing)
    : IControl(plug, rect, paramIdx), direction_(direction), gearing_(gearing) {}

void IKnobControl::OnMouseDrag(int, int, int dX, int dY, const IMouseMod& mod) {
  const double gearing = (mod.S || mod.C) ? kFineGearing : gearing_;
  if (direction_ == kVertical) {
    // Downwards is positive dY; top - bottom is minus the knob's height.
    value_ += static_cast<double>(dY) / static_cast<double>(rect_.top - rect_.bottom) / gearing;
  } else {
    value_ += static_cast<double>(dX) / static_cast<double>(rect_.right - rect_.left) / gearing;
  }
  MarkChanged(true);
}

IKnobMultiControl::IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx,
                                     const IBitmap& bitmap, EDirection direction, double gearing)
    : IKnobControl(plug, IRect{x, y, x + bitmap.W, y + bitmap.FrameHeight()}, paramIdx, direction,
                   gearing),
      bitmap_(bitmap) {}

bool IKnobMultiControl::Draw(IGraphicsLice* graphics) {
  return graphics->DrawBitmap(bitmap_, rect_, IBitmapControl::FrameFor(DrawnValue(), bitmap_.N),
                              &DrawnBlend());
}
