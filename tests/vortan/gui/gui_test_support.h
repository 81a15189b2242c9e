// Pictures and a listener for the toolkit tests: film strips whose frames
// each have a colour of their own, so a drawn pixel names the frame shown.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/window/window.h"
#include "vortan/gui/c_bitmap.h"
#include "vortan/gui/c_control.h"

namespace vortan {

// A strip of `frames` opaque frames of w x h; frame k is (k, 255 - k, 7).
inline SharedBitmap NumberedStrip(int w, int h, int frames) {
  platform::Bitmap b(w, h * frames);
  for (int k = 0; k < frames; ++k) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        uint8_t* p = b.At(x, k * h + y);
        p[0] = static_cast<uint8_t>(k);
        p[1] = static_cast<uint8_t>(255 - k);
        p[2] = 7;
        p[3] = 255;
      }
    }
  }
  return std::make_shared<const CBitmap>(std::move(b));
}

// The frame number a pixel drawn from NumberedStrip shows.
inline int FrameAt(const platform::Bitmap& b, int x, int y) { return b.At(x, y)[0]; }

struct RecordingListener : CControlListener {
  void valueChanged(CControl* control) noexcept override {
    changes.push_back({control->getTag(), control->getValue()});
  }
  struct Change {
    int32_t tag;
    float value;
  };
  std::vector<Change> changes;
};

inline platform::Event Mouse(platform::EventType type, int x, int y, bool leftHeld) {
  platform::Event e;
  e.type = type;
  e.x = x;
  e.y = y;
  e.button = type == platform::EventType::kMouseMove ? platform::MouseButton::kNone
                                                     : platform::MouseButton::kLeft;
  e.mods.left = leftHeld;
  return e;
}

}  // namespace vortan
