#include "ferro/editor/ibitmap_control.h"

#include "ferro/graphics/igraphics_lice.h"

IBitmapControl::IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmap& bitmap,
                               IBlend blend)
    : IControl(plug, IRect{x, y, x + bitmap.W, y + bitmap.FrameHeight()}, paramIdx, blend),
      bitmap_(bitmap) {}

int IBitmapControl::FrameFor(double value, int frames) {
  const double position = 0.5 + value * (frames - 1);
  int frame = 1;
  if (position >= frames) {
    frame = frames;
  } else if (position > 0.0) {
    frame = 1 + static_cast<int>(position);
  }
  if (frame < 1) frame = 1;
  if (frame > frames) frame = frames;
  return frame;
}

bool IBitmapControl::Draw(IGraphicsLice* graphics) {
  return graphics->DrawBitmap(bitmap_, rect_, FrameFor(DrawnValue(), bitmap_.N), &DrawnBlend());
}

void ISwitchControl::OnMouseDown(int, int, const IMouseMod& mod) {
  if (mod.R) {
    PromptForValue();
  } else {
    value_ += bitmap_.N < 2 ? 1.0 : 1.0 / (bitmap_.N - 1);
  }
  if (value_ > 1.001) value_ = 0.0;
  MarkChanged(true);
}
