// Knobs: a vertical drag turns them, four knob heights for the whole range
// (forty with Shift or Control held).
#pragma once

#include "ferro/graphics/icontrol.h"

class IKnobControl : public IControl {
 public:
  enum EDirection { kVertical, kHorizontal };
  static constexpr double kGearing = 4.0;
  static constexpr double kFineGearing = 40.0;

  IKnobControl(IPlugBase* plug, const IRect& rect, int paramIdx, EDirection direction = kVertical,
               double gearing = kGearing);
  void OnMouseDrag(int x, int y, int dX, int dY, const IMouseMod& mod) override;

 protected:
  EDirection direction_;
  double gearing_;
};

// A knob drawn from a film strip, one frame per position.
class IKnobMultiControl : public IKnobControl {
 public:
  IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmap& bitmap,
                    EDirection direction = kVertical, double gearing = kGearing);
  bool Draw(IGraphicsLice* graphics) override;

 private:
  IBitmap bitmap_;
};
