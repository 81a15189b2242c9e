#include "vortan/gui/c_frame.h"

namespace vortan {

CFrame::CFrame(const CRect& size) noexcept : size_(size), buffer_(size.width(), size.height()) {}

CFrame::~CFrame() {
  // Stops the window thread before anything it draws goes away.
  window_.reset();
  views_.clear();
}

CView* CFrame::addView(std::unique_ptr<CView> view) {
  views_.push_back(std::move(view));
  return views_.back().get();
}

bool CFrame::open(uintptr_t parent, const WindowFactory& factory) {
  if (window_ || !factory) return false;
  platform::WindowConfig config;
  config.parent = parent;
  config.width = size_.width();
  config.height = size_.height();
  window_ = factory(config, this);
  return window_ != nullptr;
}

void CFrame::drawArea(const CRect& area) noexcept {
  const CRect clip = platform::Intersect(area, CRect{0, 0, buffer_.width(), buffer_.height()});
  if (clip.empty()) return;
  platform::PixelView frame = buffer_.view();
  if (background_) {
    platform::Copy(frame.Sub(clip), 0, 0, background_->pixels().view().Sub(clip));
  }
  for (const std::unique_ptr<CView>& view : views_) {
    if (!platform::Intersect(view->getViewSize(), clip).empty()) view->draw(frame, clip);
  }
}

void CFrame::OnTimer() {
  CRect dirty;
  if (fullRedraw_) {
    fullRedraw_ = false;
    dirty = CRect{0, 0, buffer_.width(), buffer_.height()};
    for (const std::unique_ptr<CView>& view : views_) view->takeDirty();
  } else {
    for (const std::unique_ptr<CView>& view : views_) {
      if (view->takeDirty()) dirty = platform::Union(dirty, view->getViewSize());
    }
  }
  if (dirty.empty()) return;
  drawArea(dirty);
  if (window_ref_) window_ref_->Present(buffer_.view(), dirty);
}

CView* CFrame::viewAt(int x, int y) const noexcept {
  for (auto it = views_.rbegin(); it != views_.rend(); ++it) {
    CView* view = it->get();
    if (view->getMouseEnabled() && view->getViewSize().Contains(x, y)) return view;
  }
  return nullptr;
}

void CFrame::OnEvent(const platform::Event& event) {
  using platform::EventType;
  switch (event.type) {
    case EventType::kMouseDown:
    case EventType::kDoubleClick:
      // A double click is a second press: a switch toggles again.
      if (event.button != platform::MouseButton::kLeft) break;
      if (CView* view = viewAt(event.x, event.y)) {
        tracking_ = view->onMouseDown(event.x, event.y, event.mods) ? view : nullptr;
      }
      break;
    case EventType::kMouseMove:
      if (tracking_) tracking_->onMouseMoved(event.x, event.y, event.mods);
      break;
    case EventType::kMouseUp:
      if (tracking_ && event.button == platform::MouseButton::kLeft) {
        tracking_->onMouseUp(event.x, event.y, event.mods);
        tracking_ = nullptr;
      }
      break;
    case EventType::kWheel:
      if (CView* view = viewAt(event.x, event.y)) {
        view->onWheel(static_cast<float>(event.wheel_delta) / 120.0f, event.mods);
      }
      break;
    case EventType::kMouseLeave:
    case EventType::kFocusOut:
    case EventType::kClosed:
      break;
    default:
      break;
  }
}

}  // namespace vortan
