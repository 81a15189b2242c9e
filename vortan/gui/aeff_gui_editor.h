// The editor base that hosts a CFrame: the host's editor requests on one
// side, the frame and its window on the other.
//
// Threads: getRect, open, close, idle and the key and knob-mode requests come
// from the host's editor thread; parameter changes (see the derived editor)
// from any host thread, and user edits from the window thread. frameLock()
// guards only the frame pointer and what derived editors reach through it; it
// is held for a pointer swap or a few atomic stores, never while building,
// drawing or closing a window, so no thread ever waits on a paint.
#pragma once

#include <atomic>
#include <memory>

#include "platform/lock/recursive_lock.h"
#include "vortan/gui/c_frame.h"
#include "vortan/shell/aeff_editor.h"

namespace vortan {

class AEffGUIEditor : public AEffEditor {
 public:
  explicit AEffGUIEditor(AudioEffect* effect) noexcept;
  ~AEffGUIEditor() override;  // closes an open frame

  bool getRect(vst2::ERect** rect) noexcept override;
  void idle() noexcept override;
  bool onKeyDown(const KeyCode& key) noexcept override;
  bool onKeyUp(const KeyCode& key) noexcept override;
  // The toolkit default: the host's mode becomes the global knob mode.
  bool setKnobMode(int32_t mode) noexcept override;

  bool isOpen() noexcept;
  // How frames make their window (tests install a headless one). Editor thread,
  // while closed.
  void setWindowFactory(WindowFactory factory) { windowFactory_ = std::move(factory); }

 protected:
  void setRect(int width, int height) noexcept;
  // Opens the frame's window in `parent` and publishes the frame; false (and
  // the frame deleted) when no window could be made.
  bool openFrame(std::unique_ptr<CFrame> frame, void* parent) noexcept;
  // Unpublishes and deletes the frame: its window thread has stopped when
  // this returns.
  void closeFrame() noexcept;

  platform::RecursiveLock& frameLock() noexcept { return frameLock_; }
  // The published frame, or null. Read it with frameLock() held.
  CFrame* frame() const noexcept { return frame_.get(); }

 private:
  vst2::ERect rect_{0, 0, 0, 0};
  WindowFactory windowFactory_;
  platform::RecursiveLock frameLock_;
  std::unique_ptr<CFrame> frame_;
  std::atomic<bool> inIdle_{false};
};

}  // namespace vortan
