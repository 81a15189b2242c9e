// The base of everything a frame shows: a rectangle in frame pixels, a
// drawing operation and the mouse entries. A view is created and destroyed on
// the editor's thread, drawn and given mouse input on the window thread; the
// dirty flag is the one piece of view state that other threads touch.
#pragma once

#include <atomic>

#include "platform/image/image.h"
#include "platform/window/window.h"

namespace vortan {

using CRect = platform::Rect;

class CView {
 public:
  explicit CView(const CRect& size) noexcept : size_(size) {}
  virtual ~CView() = default;
  CView(const CView&) = delete;
  CView& operator=(const CView&) = delete;

  const CRect& getViewSize() const noexcept { return size_; }

  // Window thread. Draws the view into `frame` (the whole frame buffer), only
  // inside `clip` (frame pixels).
  virtual void draw(platform::PixelView frame, const CRect& clip) noexcept = 0;

  // Window thread. Points are in frame pixels. onMouseDown returns true when
  // the view takes the press; it then receives the moves and the release.
  virtual bool onMouseDown(int /*x*/, int /*y*/, const platform::Modifiers& /*mods*/) noexcept {
    return false;
  }
  virtual void onMouseMoved(int /*x*/, int /*y*/, const platform::Modifiers& /*mods*/) noexcept {}
  virtual void onMouseUp(int /*x*/, int /*y*/, const platform::Modifiers& /*mods*/) noexcept {}
  // Wheel notches (positive away from the user); true when used.
  virtual bool onWheel(float /*notches*/, const platform::Modifiers& /*mods*/) noexcept {
    return false;
  }

  // A view with mouse input disabled is transparent to the mouse: presses go
  // to whatever lies under it. Set before the view is added to a frame.
  void setMouseEnabled(bool enabled) noexcept { mouseEnabled_ = enabled; }
  bool getMouseEnabled() const noexcept { return mouseEnabled_; }

  // Any thread: ask for a redraw at the frame's next timer tick.
  void setDirty() noexcept { dirty_.store(true, std::memory_order_release); }
  // Window thread: true once per redraw request.
  bool takeDirty() noexcept { return dirty_.exchange(false, std::memory_order_acq_rel); }

 private:
  CRect size_;
  bool mouseEnabled_ = true;
  std::atomic<bool> dirty_{true};
};

}  // namespace vortan
