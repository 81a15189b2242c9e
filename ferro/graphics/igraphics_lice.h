// The editor's graphics layer: the control list, the images, drawing into an
// RGBA frame buffer, the window with its 41 ms repaint timer, mouse dispatch
// with begin/end-of-gesture notices, and the value prompt.
//
// Threads. Parameter changes reach the controls from whichever thread changed
// the parameter (inside the plug-in's instance lock); mouse input, the timer
// and painting run on the window's thread. Control state is guarded by this
// layer's own small state lock, which is held only to change or copy that
// state, never while drawing and never while calling into the plug-in. The
// window thread changes the plug-in (edits, prompt values) only after taking
// the instance lock with TryLock, and gives up when the window is being
// closed by a thread that may hold the instance lock while it waits for the
// window thread to finish. The host hears of those changes (automation, begin
// and end of a gesture) from the window thread after it has released the
// instance lock, in the order they were made: a host may hand the notice to
// another thread and wait while that thread calls the plug-in.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "ferro/graphics/graphics_types.h"
#include "ferro/graphics/icontrol.h"
#include "ferro/graphics/value_prompt.h"
#include "ferro/shell/igraphics.h"
#include "platform/image/image.h"
#include "platform/lock/recursive_lock.h"
#include "platform/resources/resources.h"
#include "platform/window/window.h"

class IPlugBase;

class IGraphicsLice : public IGraphics, public platform::WindowListener {
 public:
  static constexpr int kDefaultFps = 24;

  // fps 0 means the default of 24 frames per second.
  IGraphicsLice(IPlugBase* plug, int width, int height, int fps = 0);
  ~IGraphicsLice() override;

  // ---- IGraphics (plug-in side, inside the instance lock) ----
  void PushValueToControls(int paramIdx, double value, bool normalized) override;
  // Each control bound to a parameter takes its current value as its default.
  void PrepDraw() override;
  void SetAllControlsDirty() override;
  // Opens a child of the host's window (an X11 window id on Linux).
  bool OpenWindow(void* parentWindow) override;
  void CloseWindow() override;
  int Width() const override { return width_; }
  IPlugBase* Plug() const { return plug_; }
  int Height() const override { return height_; }

  // ---- construction (set-up) ----
  // Where the images come from (the library's embedded resources).
  void SetResourceSource(const platform::ResourceSource* source) { source_ = source; }
  IBitmap LoadIBitmap(int id, int frames);
  // Takes ownership; the background goes beneath every other control.
  void AttachBackground(const IBitmap& bitmap);
  int AttachControl(IControl* control);

  // ---- control list (any thread; takes the state lock) ----
  int NControls() const { return static_cast<int>(controls_.size()); }
  IControl* GetControl(int i) { return controls_[static_cast<size_t>(i)].get(); }
  void HideControlsOf(int paramIdx, bool hide);
  void GrayControlsOf(int paramIdx, bool gray);
  void HandleMouseOver(bool on);
  bool MouseOverHandled() const { return mouseOver_; }
  platform::RecursiveLock& StateLock() { return stateLock_; }

  // ---- drawing, for controls' Draw() during a repaint (window thread) ----
  // Frame `frame` (1-based) of the strip into `dest` with the blend weight.
  bool DrawBitmap(const IBitmap& bitmap, const IRect& dest, int frame, const IBlend* blend);
  // The editor's font is made from the first text drawn; later texts take
  // only their colour and alignment from their style.
  bool DrawIText(const IText& text, const char* str, const IRect& rect);
  bool DrawPoint(const IColor& color, float x, float y);
  bool DrawLine(const IColor& color, float x1, float y1, float x2, float y2, bool antiAlias);

  // ---- requests from controls (state lock held) ----
  void QueueParamEdit(int paramIdx, double normalized);
  void RequestPrompt(IControl* control);
  // Every control is marked changed once the repaint has finished.
  void RequestMarkAllChanged() { markAllAfterPaint_ = true; }

  // ---- tests and tools ----
  // A window without a system window: the caller's thread plays the window
  // thread through Tick() and Send(). Owned by this object until closed.
  platform::HeadlessWindow* OpenHeadlessWindow();
  const platform::Bitmap& FrameBuffer() const { return frame_; }
  bool PromptOpen() const { return prompt_.IsOpen(); }
  const IValuePrompt& Prompt() const { return prompt_; }

 private:
  struct Request {
    enum Kind { kEdit, kBegin, kEnd, kPrompt, kCommitPrompt } kind;
    int paramIdx;
    double value;
    IControl* control;
  };
  // What the host is told of a request once the instance lock is released.
  struct HostNotice {
    enum Kind { kAutomate, kBegin, kEnd } kind;
    int paramIdx;
    double value;
  };
  static constexpr int kMaxRequests = 16;

  // platform::WindowListener (window thread)
  void OnTimer() override;
  void OnEvent(const platform::Event& event) override;

  void MouseDown(const platform::Event& event, bool doubleClick);
  void MouseUp(const platform::Event& event);
  void MouseMove(const platform::Event& event);
  void MouseWheel(const platform::Event& event);
  void KeyDown(const platform::Event& event);
  IControl* ControlAt(int x, int y);
  void Queue(Request::Kind kind, int paramIdx, double value, IControl* control);
  // Carries out the queued requests with the instance lock, then tells the
  // host without it (window thread).
  void FlushRequests();
  void NotifyHost(const HostNotice* notices, int count);
  bool LockPlug(unsigned closings);
  void CloseWindowAndNotify(bool notifyHost);
  void OpenPrompt(IControl* control);
  void CommitPrompt(IControl* control, const std::string& text);
  void Paint(platform::Window* window);
  platform::PixelView PaintView() { return frame_.view().Sub(clip_); }

  IPlugBase* plug_;
  int width_;
  int height_;
  int fps_;
  const platform::ResourceSource* source_ = nullptr;
  std::vector<std::unique_ptr<IControl>> controls_;
  std::vector<IControl*> drawList_;
  platform::RecursiveLock stateLock_;

  platform::Bitmap frame_;
  IRect clip_;
  bool markAllAfterPaint_ = false;
  bool fontChosen_ = false;
  IText font_;

  std::unique_ptr<platform::Window> window_;
  std::atomic<platform::Window*> liveWindow_{nullptr};
  // Set while a window closes, and a count of closings: a window thread
  // waiting for the instance lock gives up during a close or after one.
  std::atomic<bool> closing_{false};
  std::atomic<unsigned> closings_{0};

  bool mouseOver_ = false;
  IControl* captured_ = nullptr;
  // The parameter whose begin notice the host got and whose end it awaits.
  std::atomic<int> begun_{-1};
  int lastX_ = 0;
  int lastY_ = 0;

  IValuePrompt prompt_;
  IControl* promptControl_ = nullptr;
  bool focusWanted_ = false;

  Request requests_[kMaxRequests] = {};
  int nRequests_ = 0;
  std::string commitText_;
};
