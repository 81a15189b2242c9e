// The frame: the editor's window inside the host's window, its background
// image and the views drawn over it in the order they were added.
//
// Drawing is software into a frame buffer of the frame's size. The window
// layer's own thread runs the frame's timer: each tick redraws the views that
// asked for it (any thread may ask, see CView::setDirty) and presents the
// changed area, so the editor stays live in a host that never sends idle.
// Mouse input arrives on the same thread; a press goes to the topmost
// mouse-enabled view under the pointer, which then gets the moves and the
// release even outside its rectangle.
//
// Threads: construct, add views, open and destroy on the editor's thread;
// nothing may be added once open() has been called.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/window/window.h"
#include "vortan/gui/c_bitmap.h"
#include "vortan/gui/c_view.h"

namespace vortan {

// Makes the frame's window: platform::CreateChildWindow normally; tests pass
// one that makes a headless window.
using WindowFactory = std::function<std::unique_ptr<platform::Window>(const platform::WindowConfig&,
                                                                      platform::WindowListener*)>;

class CFrame : public platform::WindowListener {
 public:
  explicit CFrame(const CRect& size) noexcept;
  ~CFrame() override;  // closes the window first, then deletes the views

  void setBackground(SharedBitmap background) noexcept { background_ = std::move(background); }
  // Takes ownership; returns the view for the caller's own (non-owning) use.
  CView* addView(std::unique_ptr<CView> view);
  size_t viewCount() const noexcept { return views_.size(); }
  const CRect& getViewSize() const noexcept { return size_; }

  // Opens the window as a child of `parent` (a native window id). False when
  // no window could be made.
  bool open(uintptr_t parent, const WindowFactory& factory);

  // Host idle: the window thread already draws on its timer, so an idle pass
  // has nothing left to do.
  void idle() noexcept {}
  // Key events from the host: no view of this toolkit takes the keyboard.
  bool onKeyDown() noexcept { return false; }
  bool onKeyUp() noexcept { return false; }

  // Window thread (platform::WindowListener).
  void OnOpen(platform::Window& window) override { window_ref_ = &window; }
  void OnTimer() override;
  void OnEvent(const platform::Event& event) override;

  // Window thread: redraws the area into the frame buffer (background, then
  // every view that meets it, in order). Public for tests.
  void drawArea(const CRect& area) noexcept;
  const platform::Bitmap& frameBuffer() const noexcept { return buffer_; }

 private:
  CView* viewAt(int x, int y) const noexcept;

  CRect size_;
  SharedBitmap background_;
  std::vector<std::unique_ptr<CView>> views_;
  platform::Bitmap buffer_;
  std::unique_ptr<platform::Window> window_;
  // The window to present to, as the window thread was handed it.
  platform::Window* window_ref_ = nullptr;
  // Window-thread state.
  bool fullRedraw_ = true;
  CView* tracking_ = nullptr;
};

}  // namespace vortan
