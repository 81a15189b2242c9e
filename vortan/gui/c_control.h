// A view with a value 0..1, a tag (the parameter it shows) and a listener
// told of user edits. The value is atomic: the host's threads set it while
// the window thread draws it.
#pragma once

#include <atomic>
#include <cstdint>

#include "vortan/gui/c_bitmap.h"
#include "vortan/gui/c_control_listener.h"
#include "vortan/gui/c_view.h"

namespace vortan {

class CControl : public CView {
 public:
  CControl(const CRect& size, CControlListener* listener, int32_t tag,
           SharedBitmap background) noexcept
      : CView(size), listener_(listener), tag_(tag), background_(std::move(background)) {}

  int32_t getTag() const noexcept { return tag_; }

  // Any thread. Clamped to 0..1 (NaN reads as 0); a changed value asks for
  // a redraw.
  void setValue(float value) noexcept;
  float getValue() const noexcept { return value_.load(std::memory_order_acquire); }

 protected:
  // Window thread: a user edit. Stores the value and tells the listener.
  void userChanged(float value) noexcept;
  const CBitmap* background() const noexcept { return background_.get(); }

 private:
  CControlListener* listener_;  // not owned
  int32_t tag_;
  SharedBitmap background_;
  std::atomic<float> value_{0.0f};
};

}  // namespace vortan
