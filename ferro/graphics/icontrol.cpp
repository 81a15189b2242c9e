#include "ferro/graphics/icontrol.h"

#include "ferro/graphics/igraphics_lice.h"
#include "ferro/shell/iplug_base.h"

namespace {
constexpr float kGreyWeight = 0.25f;
}

IControl::IControl(IPlugBase* plug, const IRect& rect, int paramIdx, IBlend blend)
    : rect_(rect), targetRect_(rect), plug_(plug), paramIdx_(paramIdx), blend_(blend) {}

void IControl::OnMouseDown(int, int, const IMouseMod& mod) {
  if (mod.R) PromptForValue();
}

void IControl::OnMouseUp(int, int, const IMouseMod&) {}

void IControl::OnMouseDrag(int, int, int, int, const IMouseMod&) {}

void IControl::OnMouseDoubleClick(int, int, const IMouseMod&) {
  if (defaultValue_ >= 0.0) {
    value_ = defaultValue_;
    MarkChanged(true);
  }
}

void IControl::OnMouseWheel(int, int, const IMouseMod& mod, double notches) {
  value_ += (mod.S || mod.C ? 0.001 : 0.01) * notches;
  MarkChanged(true);
}

bool IControl::OnKeyDown(int, int, int) { return false; }

void IControl::OnMouseOver(int, int, const IMouseMod&) {}

void IControl::OnMouseOut() {}

void IControl::PromptForValue() {
  if (!promptDisabled_ && IsBoundToParameter() && graphics_) graphics_->RequestPrompt(this);
}

void IControl::ShowValue(double normalized) {
  if (normalized == value_) return;
  value_ = normalized;
  MarkChanged(false);
  redrawRequested_ = true;
}

void IControl::SetHidden(bool hide) {
  hidden_ = hide;
  MarkChanged(false);
}

void IControl::SetGrayed(bool gray) {
  grayed_ = gray;
  blend_.weight = gray ? kGreyWeight : 1.0f;
  MarkChanged(false);
}

bool IControl::HitTest(int x, int y) { return targetRect_.Contains(x, y); }

void IControl::MarkChanged(bool informPlug) {
  // A host may push anything; NaN falls to the bottom of the range.
  if (!(value_ >= clampLo_)) value_ = clampLo_;
  if (value_ > clampHi_) value_ = clampHi_;
  dirty_ = true;
  SetChanged();
  if (informPlug && IsBoundToParameter() && graphics_) graphics_->QueueParamEdit(paramIdx_, value_);
}

void IControl::MarkDrawn() {
  dirty_ = false;
  redrawRequested_ = false;
}

bool IControl::NeedsRedraw() { return dirty_ || redrawRequested_; }

void IControl::TakeSnapshot() {
  drawnValue_ = value_;
  drawnBlend_ = blend_;
}

void IControl::TakeUserValue(double normalized) {
  if (normalized == value_) return;
  value_ = normalized;
  MarkChanged(true);
}

bool IControl::IsBoundToParameter() const {
  return plug_ && paramIdx_ >= 0 && paramIdx_ < plug_->NParams();
}
