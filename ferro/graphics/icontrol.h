// The base of every editor control: a rectangle, an optional bound parameter,
// a normalised value and the flags the graphics layer draws and dispatches by.
//
// Threads: a control's state is read and changed only while the graphics
// layer's state lock is held (IGraphicsLice takes it around every mouse event,
// every parameter push and the state copy of a repaint). A control never calls
// the plug-in itself: MarkChanged(true) and PromptForValue() leave requests
// that the layer carries out once the lock is released. Draw() runs on the
// window thread without the lock and reads only the copy TakeSnapshot() made.
#pragma once

#include "ferro/graphics/graphics_types.h"
#include "ferro/graphics/isubject.h"

class IGraphicsLice;
class IPlugBase;

class IControl : public ISubject {
 public:
  IControl(IPlugBase* plug, const IRect& rect, int paramIdx = -1, IBlend blend = IBlend());
  ~IControl() override = default;
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // Mouse and keyboard (window thread). Default: a right click asks for a
  // value, a double click returns to the default, the wheel steps by 0.01
  // (0.001 with Shift or Control) per notch.
  virtual void OnMouseDown(int x, int y, const IMouseMod& mod);
  virtual void OnMouseUp(int x, int y, const IMouseMod& mod);
  virtual void OnMouseDrag(int x, int y, int dX, int dY, const IMouseMod& mod);
  virtual void OnMouseDoubleClick(int x, int y, const IMouseMod& mod);
  virtual void OnMouseWheel(int x, int y, const IMouseMod& mod, double notches);
  virtual bool OnKeyDown(int x, int y, int key);
  virtual void OnMouseOver(int x, int y, const IMouseMod& mod);
  virtual void OnMouseOut();
  // Draws from the snapshot; true if something was drawn.
  virtual bool Draw(IGraphicsLice* graphics) = 0;
  // Opens the value prompt for the bound parameter (unless disabled).
  virtual void PromptForValue();
  // The plug-in shows a new normalised value (no report back to it).
  virtual void ShowValue(double normalized);
  virtual void SetHidden(bool hide);
  virtual void SetGrayed(bool gray);
  virtual bool HitTest(int x, int y);
  // Clamps the value, marks the control dirty and, with informPlug, reports
  // the value to the bound parameter (through the layer).
  virtual void MarkChanged(bool informPlug);
  virtual void MarkDrawn();
  virtual bool NeedsRedraw();
  virtual void Hook() {}
  // Copies what Draw() reads (called with the state lock held).
  virtual void TakeSnapshot();

  // A value typed or chosen in the prompt (normalised).
  void TakeUserValue(double normalized);

  void SetGraphics(IGraphicsLice* graphics) { graphics_ = graphics; }
  IGraphicsLice* Graphics() const { return graphics_; }
  IPlugBase* Plug() const { return plug_; }
  const IRect& Rect() const { return rect_; }
  const IRect& TargetRect() const { return targetRect_; }
  void SetTargetRect(const IRect& r) { targetRect_ = r; }
  int ParamIdx() const { return paramIdx_; }
  // True when the bound index names one of the plug-in's parameters.
  bool IsBoundToParameter() const;
  double Value() const { return value_; }
  void SetValue(double v) { value_ = v; }
  double DefaultValue() const { return defaultValue_; }
  void SetDefaultValue(double v) { defaultValue_ = v; }
  void SetClamp(double lo, double hi) {
    clampLo_ = lo;
    clampHi_ = hi;
  }
  bool IsHidden() const { return hidden_; }
  bool IsGrayed() const { return grayed_; }
  bool IsDirty() const { return dirty_; }
  void DisablePrompt(bool disable) { promptDisabled_ = disable; }
  void SetDoubleClickAsClick(bool on) { doubleClickAsClick_ = on; }
  bool DoubleClickAsClick() const { return doubleClickAsClick_; }
  const IBlend& Blend() const { return blend_; }

 protected:
  // What the last snapshot saw.
  double DrawnValue() const { return drawnValue_; }
  const IBlend& DrawnBlend() const { return drawnBlend_; }

  IRect rect_;
  IRect targetRect_;
  double value_ = 0.0;

 private:
  IPlugBase* plug_;
  IGraphicsLice* graphics_ = nullptr;
  int paramIdx_;
  double defaultValue_ = -1.0;
  double clampLo_ = 0.0;
  double clampHi_ = 1.0;
  bool dirty_ = true;
  bool hidden_ = false;
  bool grayed_ = false;
  bool redrawRequested_ = false;
  bool promptDisabled_ = false;
  bool doubleClickAsClick_ = false;
  IBlend blend_;
  double drawnValue_ = 0.0;
  IBlend drawnBlend_;
};
