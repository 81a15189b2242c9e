#include "vortan/gui/aeff_gui_editor.h"

#include "vortan/gui/knob_mode.h"

namespace vortan {
namespace {

// A child of the host's window, never a window of our own: a host that
// passes no parent gets no editor.
std::unique_ptr<platform::Window> ChildOfHostWindow(const platform::WindowConfig& config,
                                                    platform::WindowListener* listener) {
  if (config.parent == 0) return nullptr;
  return platform::CreateChildWindow(config, listener);
}

}  // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) noexcept
    : AEffEditor(effect), windowFactory_(&ChildOfHostWindow) {}

AEffGUIEditor::~AEffGUIEditor() { closeFrame(); }

void AEffGUIEditor::setRect(int width, int height) noexcept {
  rect_.top = 0;
  rect_.left = 0;
  rect_.bottom = static_cast<int16_t>(height);
  rect_.right = static_cast<int16_t>(width);
}

bool AEffGUIEditor::getRect(vst2::ERect** rect) noexcept {
  if (!rect) return false;
  *rect = &rect_;
  return true;
}

bool AEffGUIEditor::isOpen() noexcept {
  platform::ScopedLock hold(frameLock_);
  return frame_ != nullptr;
}

bool AEffGUIEditor::openFrame(std::unique_ptr<CFrame> frame, void* parent) noexcept {
  if (!frame) return false;
  closeFrame();  // a host that opens twice gets one window
  bool opened = false;
  try {
    opened = frame->open(reinterpret_cast<uintptr_t>(parent), windowFactory_);
  } catch (...) {
    // Window creation allocates; out of memory means no editor, not a crash.
    opened = false;
  }
  if (!opened) return false;
  platform::ScopedLock hold(frameLock_);
  frame_ = std::move(frame);
  return true;
}

void AEffGUIEditor::closeFrame() noexcept {
  std::unique_ptr<CFrame> closing;
  {
    platform::ScopedLock hold(frameLock_);
    closing = std::move(frame_);
  }
  // Deleted outside the lock: the window thread may be inside a user edit
  // that reaches the lock through the plug-in; it finds no frame and returns.
  closing.reset();
}

void AEffGUIEditor::idle() noexcept {
  if (inIdle_.exchange(true)) return;  // an idle pass is already running
  {
    platform::ScopedLock hold(frameLock_);
    if (frame_) frame_->idle();
  }
  inIdle_.store(false);
}

bool AEffGUIEditor::onKeyDown(const KeyCode& /*key*/) noexcept {
  platform::ScopedLock hold(frameLock_);
  return frame_ ? frame_->onKeyDown() : false;
}

bool AEffGUIEditor::onKeyUp(const KeyCode& /*key*/) noexcept {
  platform::ScopedLock hold(frameLock_);
  return frame_ ? frame_->onKeyUp() : false;
}

bool AEffGUIEditor::setKnobMode(int32_t mode) noexcept {
  SetKnobMode(mode);
  return true;
}

}  // namespace vortan
