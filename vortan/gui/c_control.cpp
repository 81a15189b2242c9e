#include "vortan/gui/c_control.h"

namespace vortan {

void CControl::setValue(float value) noexcept {
  if (!(value > 0.0f)) value = 0.0f;  // also NaN
  if (value > 1.0f) value = 1.0f;
  if (value_.exchange(value, std::memory_order_acq_rel) != value) setDirty();
}

void CControl::userChanged(float value) noexcept {
  setValue(value);
  if (listener_) listener_->valueChanged(this);
}

}  // namespace vortan
