// What the plug-in core needs of its editor's graphics object. The graphics
// layer implements it; the core owns the object once it is adopted.
#pragma once

class IGraphics {
 public:
  virtual ~IGraphics() = default;
  // Every control bound to `paramIndex` shows `value` (normalised or plain).
  virtual void PushValueToControls(int paramIndex, double value, bool normalized) = 0;
  // Called once when the core adopts the object, before the first drawing.
  virtual void PrepDraw() = 0;
  // Marks every control dirty so that the next repaint redraws it, without
  // pushing values back into the plug-in.
  virtual void SetAllControlsDirty() = 0;
  // Opens the editor as a child of the host's window; false if it could not.
  virtual bool OpenWindow(void* parentWindow) = 0;
  virtual void CloseWindow() = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};
