// The headless window backend: the caller's thread plays the window thread.
#include "platform/window/window.h"

namespace platform {

HeadlessWindow::HeadlessWindow(const WindowConfig& config, WindowListener* listener)
    : Window(config.width, config.height),
      listener_(listener),
      presented_(config.width, config.height) {
  if (listener_ != nullptr) listener_->OnOpen(*this);
}

void HeadlessWindow::Tick() {
  if (listener_ != nullptr) listener_->OnTimer();
}

void HeadlessWindow::Send(const Event& event) {
  if (listener_ != nullptr) listener_->OnEvent(event);
}

void HeadlessWindow::Present(ConstPixelView frame, const Rect& dirty) noexcept {
  ++present_count_;
  const Rect area = Intersect(
      dirty, Intersect(Rect{0, 0, frame.width, frame.height}, Rect{0, 0, width(), height()}));
  if (area.empty()) return;
  Copy(presented_.view(), area.left, area.top, frame.Sub(area));
}

}  // namespace platform
