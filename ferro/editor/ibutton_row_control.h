// N equally spaced buttons from a two-frame bitmap, in a row or a column;
// button i stands for the value i / (N - 1) and shows the lit frame when it
// is the selected one.
#pragma once

#include "ferro/graphics/icontrol.h"

class IButtonRowControl : public IControl {
 public:
  enum ELayout { kRow, kColumn };
  static constexpr int kMaxButtons = 8;

  IButtonRowControl(IPlugBase* plug, const IRect& rect, int paramIdx, const IBitmap& bitmap,
                    int buttons, ELayout layout);
  // Left click on a button selects it (between buttons the value stays, the
  // control is marked changed all the same); right click prompts.
  void OnMouseDown(int x, int y, const IMouseMod& mod) override;
  bool Draw(IGraphicsLice* graphics) override;

  int Buttons() const { return n_; }
  const IRect& Button(int i) const { return buttons_[i]; }

 private:
  IBitmap bitmap_;
  int n_;
  IRect buttons_[kMaxButtons];
};
