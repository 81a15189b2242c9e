// Film-strip pictures bound to a parameter: a plain picture, and a switch that
// steps through its frames on each click.
#pragma once

#include "ferro/graphics/icontrol.h"

class IBitmapControl : public IControl {
 public:
  // The rectangle is one frame of the bitmap with its top-left at (x, y).
  IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmap& bitmap,
                 IBlend blend = IBlend());
  bool Draw(IGraphicsLice* graphics) override;
  const IBitmap& Bitmap() const { return bitmap_; }

  // Frame 1 + trunc(0.5 + value x (N - 1)), limited to 1..N.
  static int FrameFor(double value, int frames);

 protected:
  IBitmap bitmap_;
};

class ISwitchControl : public IBitmapControl {
 public:
  using IBitmapControl::IBitmapControl;
  // Left click: the next frame's value, wrapping to 0 after the last; right
  // click: the value prompt. Either way the value goes to the parameter.
  void OnMouseDown(int x, int y, const IMouseMod& mod) override;
};
