#include "ferro/editor/ibutton_row_control.h"

#include "ferro/graphics/igraphics_lice.h"

IButtonRowControl::IButtonRowControl(IPlugBase* plug, const IRect& rect, int paramIdx,
                                     const IBitmap& bitmap, int buttons, ELayout layout)
    : IControl(plug, rect, paramIdx),
      bitmap_(bitmap),
      n_(buttons < 1 ? 1 : (buttons > kMaxButtons ? kMaxButtons : buttons)) {
  const int w = bitmap.W, h = bitmap.FrameHeight();
  const int gaps = n_ > 1 ? n_ - 1 : 1;
  if (layout == kRow) {
    const int gap = (rect.right - rect.left - n_ * w) / gaps;
    for (int i = 0; i < n_; ++i) {
      const int left = rect.left + i * (w + gap);
      buttons_[i] = IRect{left, rect.top, left + w, rect.top + h};
    }
  } else {
    const int step = h + (rect.bottom - rect.top - n_ * h) / gaps;
    for (int i = 0; i < n_; ++i) {
      const int top = rect.top + i * step;
      buttons_[i] = IRect{rect.left, top, rect.left + w, top + h};
    }
  }
}

void IButtonRowControl::OnMouseDown(int x, int y, const IMouseMod& mod) {
  if (mod.R) {
    PromptForValue();
    return;
  }
  for (int i = 0; i < n_; ++i)
    if (buttons_[i].Contains(x, y)) value_ = n_ > 1 ? static_cast<double>(i) / (n_ - 1) : 0.0;
  MarkChanged(true);
}

bool IButtonRowControl::Draw(IGraphicsLice* graphics) {
  const double position = 0.5 + DrawnValue() * (n_ - 1);
  int lit = position > 0.0 ? static_cast<int>(position < n_ ? position : n_ - 1) : 0;
  if (lit > n_ - 1) lit = n_ - 1;
  for (int i = 0; i < n_; ++i)
    graphics->DrawBitmap(bitmap_, buttons_[i], i == lit ? 2 : 1, &DrawnBlend());
  return true;
}
