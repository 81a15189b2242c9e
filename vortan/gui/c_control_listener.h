// Who hears about a control the user changed.
#pragma once

namespace vortan {

class CControl;

class CControlListener {
 public:
  virtual ~CControlListener() = default;
  // Window thread: the user moved a knob or clicked a switch.
  virtual void valueChanged(CControl* control) noexcept = 0;
};

}  // namespace vortan
